// The session check from the window: File holds "Export session check…" and "Print session
// check…" (Ctrl+P); the export counts the open recording at the window's frame width, counter
// type and size classes and writes its page as a PDF; with nothing open, or a file that cannot be
// written, a message says so and a good file stays as it was. A printer gets the same page, and
// size classes changed for a what-if count are named on it and counted with.
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <nlohmann/json.hpp>

#include "tests/engine/count_cli.h"
#include "tests/support/window_fixture.h"
#include "ui/check/session_check_export.h"
#include "ui/check/session_check_page.h"

namespace velkor::test {
namespace {

Session twoChannels() {
    return leftAndRight(6000, "CountersT1=140\r\nCountersT2=160\r\n");
}

TEST_F(WindowTest, FileMenuHoldsTheSessionCheck) {
    makeWindow(100);
    QMenu* file = nullptr;
    for (QAction* a : window->menuBar()->actions())
        if (a->text().remove('&') == "File") file = a->menu();
    ASSERT_NE(file, nullptr);
    QStringList texts;
    for (QAction* a : file->actions()) texts << a->text();
    // Beside Open and Quit, one after the other.
    const qsizetype exportAt = texts.indexOf("Export session check\u2026");
    ASSERT_GE(exportAt, 0) << texts.join(", ").toStdString();
    EXPECT_EQ(texts.value(exportAt + 1), "Print session check\u2026");
    EXPECT_EQ(window->sessionCheck->printAction->shortcut(), QKeySequence(QKeySequence::Print));
    EXPECT_TRUE(window->actions().contains(window->sessionCheck->printAction));
}

TEST_F(WindowTest, ExportWritesThePageOfTheWindowsCount) {
    makeWindow(100);
    const std::string recording = session("pair", twoChannels());
    ASSERT_TRUE(open(recording));
    window->engine().setClassOverrides({-1, -1, 7, -1, -1});
    const std::optional<SessionCheckExport::Request> request = window->sessionCheck->request();
    ASSERT_TRUE(request);
    EXPECT_EQ(request->recording.toStdString(), recording);
    EXPECT_EQ(request->options.frameWidth, 100);
    EXPECT_EQ(request->options.counterType, settings.countertype);
    EXPECT_EQ(request->options.classes[2], 7);
    window->engine().setClassOverrides({-1, -1, -1, -1, -1});

    const std::string pdf = dir.file("pair-check.pdf");
    window->sessionCheck->chooseFile = [&] { return QString::fromStdString(pdf); };
    window->sessionCheck->exportAction->trigger();
    EXPECT_TRUE(messages.shown.empty());
    ASSERT_EQ(readBytes(pdf).substr(0, 5), "%PDF-");

    const ProgramRun text = runProgram("pdftotext", "-layout " + shellQuoted(pdf) + " -");
    if (text.exit != 0) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    const CliRun counted = runCount("--json --frame-width 100 " + shellQuoted(recording));
    ASSERT_EQ(counted.status, 0) << counted.err;
    const nlohmann::json summary = nlohmann::json::parse(counted.out)["summary"];
    EXPECT_NE(text.out.find("Frame width: 100 lines"), std::string::npos) << text.out;
    for (const char* name : {"Left", "Right"}) {
        // The table's row of the channel: the first line that starts with its name and holds
        // figures (the chart's title starts with the name too); the layout may indent it.
        const int c = std::string(name) == "Left" ? 0 : 1;
        std::string line;
        std::istringstream lines(text.out);
        for (std::string l; std::getline(lines, l);) {
            l.erase(0, l.find_first_not_of(' '));
            if (l.rfind(std::string(name) + " ", 0) == 0 && l.find('%') != std::string::npos) {
                line = l;
                break;
            }
        }
        ASSERT_FALSE(line.empty()) << text.out;
        EXPECT_NE(line.find(" " + std::to_string(summary["totals"][c].get<int>()) + " "),
                  std::string::npos)
            << line;
    }
}

TEST_F(WindowTest, ExportWithoutARecordingOrToABadPlaceSaysSo) {
    makeWindow(100);
    const std::string pdf = dir.file("check.pdf");
    writeBytes(pdf, "a good file");
    window->sessionCheck->chooseFile = [&] { return QString::fromStdString(pdf); };
    window->sessionCheck->exportAction->trigger();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].second.contains("Open a recording first"));
    EXPECT_EQ(readBytes(pdf), "a good file");

    ASSERT_TRUE(open(session("pair", twoChannels())));
    const std::string unwritable = dir.file("no-such-folder/check.pdf");
    window->sessionCheck->chooseFile = [&] { return QString::fromStdString(unwritable); };
    window->sessionCheck->exportAction->trigger();
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_TRUE(messages.shown[1].second.contains(QString::fromStdString(unwritable)))
        << messages.shown[1].second.toStdString();
}

std::string textOf(const std::string& pdf) {
    const ProgramRun text = runProgram("pdftotext", "-layout " + shellQuoted(pdf) + " -");
    return text.exit == 0 ? text.out : std::string();
}

TEST(SessionCheckPage, APrinterGetsTheExportedPage) {
    TempDir dir;
    const std::string recording = writeSession(dir.file("pair"), twoChannels());
    SessionCheckOptions options;
    options.frameWidth = 300;
    const std::optional<SessionCheckContent> content = gatherSessionCheck(recording, options);
    ASSERT_TRUE(content);
    const QByteArray exported = sessionCheckPdf({*content});
    writeBytes(dir.file("exported.pdf"), std::string_view(exported.data(), exported.size()));

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(dir.file("printed.pdf")));
    ASSERT_TRUE(paintSessionCheckPages(printer, {*content}));
    const std::string exportedText = textOf(dir.file("exported.pdf"));
    if (exportedText.empty()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    EXPECT_EQ(textOf(dir.file("printed.pdf")), exportedText);
    const ProgramRun info = runProgram("pdfinfo", shellQuoted(dir.file("printed.pdf")));
    EXPECT_NE(info.out.find("Pages:           1"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("(A4)"), std::string::npos) << info.out;
}

TEST(SessionCheckPage, ChangedSizeClassesAreNamedAndCountedWith) {
    TempDir dir;
    const std::string recording = writeSession(dir.file("pair"), twoChannels());
    SessionCheckOptions options;
    options.frameWidth = 300;
    options.classes = {-1, -1, 0, -1, -1};
    const std::optional<SessionCheckContent> content = gatherSessionCheck(recording, options);
    ASSERT_TRUE(content);
    EXPECT_TRUE(content->classesOverridden());
    EXPECT_EQ(content->channels[2].usedClass, 0);
    EXPECT_EQ(content->channels[2].reportClass, 2);
    EXPECT_EQ(content->channels[1].usedClass, content->channels[1].reportClass);

    const CliRun counted =
        runCount("--json --frame-width 300 --class 2=0 " + shellQuoted(recording));
    ASSERT_EQ(counted.status, 0) << counted.err;
    const nlohmann::json summary = nlohmann::json::parse(counted.out)["summary"];
    for (int c = 1; c <= 2; ++c)
        EXPECT_EQ(content->channels[c].replay, summary["totals"][c - 1].get<int>());

    const QByteArray pdf = sessionCheckPdf({*content});
    writeBytes(dir.file("check.pdf"), std::string_view(pdf.data(), pdf.size()));
    const std::string text = textOf(dir.file("check.pdf"));
    if (text.empty()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    EXPECT_NE(text.find("overridden: Right counted as"), std::string::npos) << text;
    EXPECT_NE(text.find("--class 2=0"), std::string::npos) << text;
}

}  // namespace
}  // namespace velkor::test
