// Opening a recording, from the dialog to the engine that has it open.
#include "ui/window/recording_opening.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>
#include <exception>

#include "ui/window/long_work.h"

namespace velkor {

std::optional<ChosenRecording> runOpenDialog(QWidget* parent, SettingsBackend* store) {
    const QStringList filters{QObject::tr("Image file (*.blb)"),
                              QObject::tr("Compressed file (*.blc)")};
    QFileDialog OpenDialog1(parent, QObject::tr("Open a recording"));
    OpenDialog1.setObjectName("OpenDialog1");
    OpenDialog1.setFileMode(QFileDialog::ExistingFile);
    OpenDialog1.setNameFilters(filters);
    OpenDialog1.selectNameFilter(filters[0]);
    // The folder of the recording opened last, as the store remembers it.
    if (store != nullptr) {
        if (const auto folder = store->readText("lastfolderopend"); folder && !folder->empty()) {
            OpenDialog1.setDirectory(fromFileSystemName(*folder));
        }
    }
    if (OpenDialog1.exec() != QDialog::Accepted || OpenDialog1.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return ChosenRecording{OpenDialog1.selectedFiles().front(),
                           OpenDialog1.selectedNameFilter() == filters[1]};
}

std::string fileSystemName(const QString& name) {
#ifdef Q_OS_WIN
    return name.toStdString();
#else
    return QFile::encodeName(name).toStdString();
#endif
}

QString fromFileSystemName(const std::string& name) {
#ifdef Q_OS_WIN
    return QString::fromUtf8(name.data(), qsizetype(name.size()));
#else
    return QFile::decodeName(QByteArray::fromStdString(name));
#endif
}

RecordingOpening openRecording(QWidget* parent, Tsett& settings, SettingsBackend* store,
                               const QString& file, bool chosenAsCompressed, int32_t frameWidth,
                               const std::function<void(int32_t)>& onFrameRead,
                               int progressDelayMs) {
    const Tsett kept = settings;
    settings = Tsett{};
    auto next = std::make_unique<ReplayEngine>(settings, store);
    next->setExplaining(true);
    next->onFrameRead = onFrameRead;
    next->setFrameWidth(frameWidth);
    QString failure;
    bool opened = false;
    try {
        // The busy cursor ends before any message box shows.
        LongWork busy(parent, QObject::tr("Opening %1 ...").arg(file), false, progressDelayMs);
        opened =
            next->OpenBlbFile(fileSystemName(file), chosenAsCompressed,
                              [&busy](int64_t done, int64_t total) { busy.progress(done, total); });
    } catch (const std::exception& e) {
        failure = QString::fromUtf8(e.what());
    } catch (...) {
        failure = QObject::tr("An unexpected error ended the opening of %1.").arg(file);
    }
    if (opened) return {std::move(next), QString()};
    settings = kept;
    // The message as the program has always put it, with the file it looked for below it.
    if (failure.isEmpty() && !next->message().empty())
        failure =
            QString::fromUtf8(next->message().c_str()) + "\n" +
            QDir::toNativeSeparators(fromFileSystemName(reportFileName(fileSystemName(file))));
    return {nullptr, failure};
}

QString notOpenedText(const QString& failure, const QString& file, const QString& shown) {
    if (shown.isEmpty()) return failure;
    return failure + "\n\n" +
           QObject::tr("%1 was not opened; %2 stays open.")
               .arg(QDir::toNativeSeparators(file), QFileInfo(shown).fileName());
}

QString damagedLinesWarning(const ReplayEngine& engine) {
    const int64_t damaged = engine.damagedLines();
    if (damaged <= 0) return QString();
    const QString lines =
        damaged == 1 ? QObject::tr("1 damaged line") : QObject::tr("%1 damaged lines").arg(damaged);
    return QObject::tr(
               "%1 has %2; the first is line %3. Damaged lines are shown as far as they "
               "could be read.")
        .arg(fromFileSystemName(engine.recordingName()), lines)
        .arg(engine.firstDamagedLine());
}

}  // namespace velkor
