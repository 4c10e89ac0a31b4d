// The settings store on QSettings. On Windows it is the registry key "Kest Registry" directly
// under HKEY_CURRENT_USER, section (subkey) "Kest", text (REG_SZ) values: where the counter's live
// software of the same installation keeps them. Elsewhere it is the INI file
// "Kest Registry.ini" in the user's configuration folder, section [Kest].
//
// Names match without regard to case on every platform: a save under one spelling replaces the
// value under another. A value that is not text (another registry type, or a typed value in the
// INI file) reads as missing.
//
// A store that cannot be read (an unreadable or garbled file) reads as empty, so every value
// takes its default, and refuses every write, so the file is left exactly as it was; problem()
// says what is wrong, for the window to show.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "settings/Tsett.h"

class QSettings;

namespace velkor {

class QtSettingsBackend : public SettingsBackend {
  public:
    // The platform's store (registry on Windows, the user's configuration folder elsewhere).
    QtSettingsBackend();
    // An INI file at `iniFile` (UTF-8 path), for tests and for running without the registry.
    explicit QtSettingsBackend(const std::string& iniFile);
    ~QtSettingsBackend() override;

    std::optional<std::string> readText(const std::string& name) const override;
    void writeText(const std::string& name, const std::string& value) override;

    // Writes pending values to the store. False, with problem() set, when it could not.
    bool sync();
    // False when the store could not be read; it then takes no writes.
    bool usable() const { return usable_; }
    // What went wrong, empty when nothing did.
    const std::string& problem() const { return problem_; }
    // Where the store lives: the registry key, or the INI file's path.
    std::string location() const;

    // The INI file used where there is no registry.
    static std::string defaultIniFile();

  private:
    void checkReadable();
    std::optional<std::string> storedName(const std::string& name) const;

    std::unique_ptr<QSettings> settings_;
    bool usable_ = true;
    std::string problem_;
};

}  // namespace velkor
