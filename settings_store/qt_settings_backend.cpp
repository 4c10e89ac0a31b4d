// The QSettings store: case-insensitive names, text values only, and no writes to a store that
// could not be read.
#include "settings_store/qt_settings_backend.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>

#include "settings/text_encoding.h"

namespace velkor {
namespace {

const QString section = QStringLiteral("Kest");

}  // namespace

std::string QtSettingsBackend::defaultIniFile() {
    return (QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
            QStringLiteral("/Kest Registry.ini"))
        .toStdString();
}

QtSettingsBackend::QtSettingsBackend() {
#ifdef Q_OS_WIN
    settings_ = std::make_unique<QSettings>(QStringLiteral("HKEY_CURRENT_USER\\Kest Registry"),
                                            QSettings::NativeFormat);
#else
    settings_ =
        std::make_unique<QSettings>(QString::fromStdString(defaultIniFile()), QSettings::IniFormat);
#endif
    checkReadable();
}

QtSettingsBackend::QtSettingsBackend(const std::string& iniFile)
    : settings_(
          std::make_unique<QSettings>(QString::fromStdString(iniFile), QSettings::IniFormat)) {
    checkReadable();
}

QtSettingsBackend::~QtSettingsBackend() {
    if (usable_) settings_->sync();
}

std::string QtSettingsBackend::location() const {
    return settings_->fileName().toStdString();
}

void QtSettingsBackend::checkReadable() {
    const QString where = settings_->fileName();
    switch (settings_->status()) {
        case QSettings::NoError:
            break;
        case QSettings::AccessError:
            usable_ = false;
            problem_ = "The settings store " + where.toStdString() + " cannot be read";
            return;
        case QSettings::FormatError:
            usable_ = false;
            problem_ = "The settings file " + where.toStdString() + " is damaged";
            return;
    }
    if (settings_->format() != QSettings::IniFormat) return;
    // QSettings reads almost any bytes without complaint, and its next save would rewrite them:
    // a file that is not text is refused here, so it is kept as it is.
    QFile file(where);
    if (!file.exists()) return;
    if (!file.open(QIODevice::ReadOnly)) {
        usable_ = false;
        problem_ = "The settings file " + where.toStdString() + " cannot be read";
        return;
    }
    const QByteArray bytes = file.readAll();
    if (bytes.contains('\0') || !isValidUtf8(std::string_view(bytes.constData(), bytes.size()))) {
        usable_ = false;
        problem_ = "The settings file " + where.toStdString() + " is damaged";
    }
}

std::optional<std::string> QtSettingsBackend::storedName(const std::string& name) const {
    const QString wanted = QString::fromStdString(name);
    settings_->beginGroup(section);
    const QStringList keys = settings_->childKeys();
    settings_->endGroup();
    for (const QString& key : keys) {
        if (key.compare(wanted, Qt::CaseInsensitive) == 0) return key.toStdString();
    }
    return std::nullopt;
}

std::optional<std::string> QtSettingsBackend::readText(const std::string& name) const {
    if (!usable_) return std::nullopt;
    const auto key = storedName(name);
    if (!key) return std::nullopt;
    const QVariant value =
        settings_->value(section + QLatin1Char('/') + QString::fromStdString(*key));
    if (value.typeId() != QMetaType::QString) return std::nullopt;
    return value.toString().toStdString();
}

void QtSettingsBackend::writeText(const std::string& name, const std::string& value) {
    if (!usable_) return;
    const std::string key = storedName(name).value_or(name);
    settings_->setValue(section + QLatin1Char('/') + QString::fromStdString(key),
                        QString::fromStdString(value));
}

bool QtSettingsBackend::sync() {
    if (!usable_) return false;
    settings_->sync();
    if (settings_->status() != QSettings::NoError) {
        problem_ = "The settings could not be saved to " + settings_->fileName().toStdString();
        return false;
    }
    return true;
}

}  // namespace velkor
