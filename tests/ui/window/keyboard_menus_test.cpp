// The window by keyboard and by its menus: Tab reaches every control in the order of the window
// and never sticks in the verdict dock, a class chooser opens and changes with keys, the arrow keys
// step frames wherever the focus is except in a control that needs them, Esc leaves a control; the
// menu bar has File, View and Help as desktop programs do, and every action of the menus and every
// key of the window has its line on the help page. A click in the track bar's groove goes to the
// point clicked.
#include <QAbstractItemView>
#include <QDockWidget>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTextBrowser>
#include <chrono>
#include <set>
#include <thread>

#include "tests/support/window_fixture.h"
#include "ui/chart/chart_channel_selector.h"
#include "ui/chart/throughput_chart.h"
#include "ui/comparison/verdict_panel.h"
#include "ui/counters/class_chooser.h"
#include "ui/window/help_page.h"

namespace velkor::test {
namespace {

Session twoChannels(int lines = 4000) {
    return leftAndRight(lines);
}

class KeyboardTest : public WindowTest {
protected:
    void openTwoChannels() {
        makeWindow(100);
        ASSERT_TRUE(open(session("two", twoChannels())));
        ASSERT_TRUE(waitForWholeCount());
        window->activateWindow();
        QApplication::setActiveWindow(window.get());
        QApplication::processEvents();
    }
    QWidget* focus() const { return QApplication::focusWidget(); }
    void key(int k, Qt::KeyboardModifiers m = Qt::NoModifier) {
        QWidget* target = focus() != nullptr ? focus() : window.get();
        QTest::keyClick(target, Qt::Key(k), m);
        QApplication::processEvents();
    }
    // Where Tab leads from `start`, one widget a press, until it comes round again (or 120
    // presses).
    std::vector<QWidget*> tabCycle(QWidget* start) {
        start->setFocus(Qt::TabFocusReason);
        std::vector<QWidget*> seen{focus()};
        for (int i = 0; i < 120; ++i) {
            key(Qt::Key_Tab);
            if (focus() == start) return seen;
            seen.push_back(focus());
        }
        return seen;
    }
};

// Tab goes through the tool bar, the track bar, the class choosers, the chart's channel buttons
// (one stop, on the channel shown: Up and Down choose among them, as in any group of exclusive
// buttons) and the verdict dock's links, and from there on round to the tool bar again.
TEST_F(KeyboardTest, TabReachesEveryControlInTheWindowsOrderAndComesRound) {
    openTwoChannels();
    QTest::keyClick(window.get(), Qt::Key_Right);  // every button of the tool bar enabled
    ASSERT_EQ(frame(), 2);
    const std::vector<QWidget*> cycle = tabCycle(window->beginbtn);
    ASSERT_LT(cycle.size(), 120u) << "Tab never came back to the first button";
    auto at = [&](QWidget* w) {
        return int(std::find(cycle.begin(), cycle.end(), w) - cycle.begin());
    };
    const std::vector<QWidget*> order{window->beginbtn,        window->backwardbtn,
                                      window->Farwardbtn,      window->endbtn,
                                      window->autocountbtn,    window->gotobtn,
                                      window->openbtn,         window->marksbtn,
                                      window->SpeedButton2,    window->helpbtn,
                                      window->TrackBar1,       window->classChooser[1],
                                      window->classChooser[2], window->ChartChannels->button(1)};
    int last = -1;
    for (QWidget* w : order) {
        ASSERT_NE(w, nullptr);
        const int i = at(w);
        EXPECT_LT(i, int(cycle.size())) << w->objectName().toStdString() << " never has the focus";
        EXPECT_GT(i, last) << w->objectName().toStdString() << " out of order";
        last = std::max(last, i);
    }
    // The dock's links come last, after the chart's buttons.
    int inDock = 0;
    for (size_t i = 0; i < cycle.size(); ++i)
        if (window->verdictPanel->isAncestorOf(cycle[i])) {
            ++inDock;
            EXPECT_GT(int(i), last);
        }
    EXPECT_GE(inDock, 2);

    // On the chart's buttons Down shows the next channel, Up the one before.
    window->ChartChannels->button(1)->setFocus(Qt::TabFocusReason);
    key(Qt::Key_Down);
    EXPECT_EQ(window->ChartChannels->current(), 2);
    EXPECT_TRUE(window->Chart1->curveShown(2));
    key(Qt::Key_Up);
    EXPECT_EQ(window->ChartChannels->current(), 1);
    EXPECT_TRUE(window->Chart1->curveShown(1));
}

// With the focus in the dock, Shift+Tab and Tab leave it both ways.
TEST_F(KeyboardTest, FocusNeverSticksInTheVerdictDock) {
    openTwoChannels();
    const std::vector<QWidget*> cycle = tabCycle(window->beginbtn);
    auto dockLink = std::find_if(cycle.begin(), cycle.end(),
                                 [&](QWidget* w) { return window->verdictPanel->isAncestorOf(w); });
    ASSERT_NE(dockLink, cycle.end());
    (*dockLink)->setFocus(Qt::TabFocusReason);
    bool left = false;
    for (int i = 0; i < 40 && !left; ++i) {
        key(Qt::Key_Tab);
        left = !window->verdictPanel->isAncestorOf(focus());
    }
    EXPECT_TRUE(left) << "Tab stays in the dock";
    (*dockLink)->setFocus(Qt::TabFocusReason);
    left = false;
    for (int i = 0; i < 40 && !left; ++i) {
        key(Qt::Key_Backtab, Qt::ShiftModifier);
        left = !window->verdictPanel->isAncestorOf(focus());
    }
    EXPECT_TRUE(left) << "Shift+Tab stays in the dock";
}

// A class chooser takes the focus, opens with F4 or Alt+Down, and Down chooses the next class.
TEST_F(KeyboardTest, AClassChooserOpensAndChangesWithTheKeyboard) {
    openTwoChannels();
    ClassChooser* chooser = window->classChooser[1];
    EXPECT_TRUE(chooser->focusPolicy() & Qt::TabFocus) << "Tab never reaches it";
    chooser->setFocus(Qt::TabFocusReason);
    ASSERT_EQ(focus(), chooser);
    const int32_t before = chooser->chosenClass();
    key(Qt::Key_F4);
    EXPECT_TRUE(chooser->view()->isVisible());
    QTest::keyClick(chooser->view(), Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_FALSE(chooser->view()->isVisible());
    key(Qt::Key_Down, Qt::AltModifier);
    EXPECT_TRUE(chooser->view()->isVisible());
    QTest::keyClick(chooser->view(), Qt::Key_Escape);
    QApplication::processEvents();
    key(Qt::Key_Down);
    EXPECT_EQ(chooser->chosenClass(), before + 1);
}

// Left and Right step frames with the focus on the tool bar, the track bar, the chart's buttons or
// the verdict dock; in the class chooser Up and Down choose, and Esc hands the keys back.
TEST_F(KeyboardTest, TheArrowsStepFramesWhereverTheFocusIsAndEscLeavesAControl) {
    openTwoChannels();
    const std::vector<QWidget*> cycle = tabCycle(window->beginbtn);
    QWidget* dockLink = nullptr;
    for (QWidget* w : cycle)
        if (window->verdictPanel->isAncestorOf(w)) dockLink = w;
    ASSERT_NE(dockLink, nullptr);
    for (QWidget* w :
         {static_cast<QWidget*>(window->Farwardbtn), static_cast<QWidget*>(window->TrackBar1),
          static_cast<QWidget*>(window->ChartChannels->button(1)),
          static_cast<QWidget*>(window->classChooser[2]), dockLink}) {
        SCOPED_TRACE(w->objectName().toStdString());
        w->setFocus(Qt::TabFocusReason);
        const int32_t start = frame();
        key(Qt::Key_Right);
        EXPECT_EQ(frame(), start + 1);
        key(Qt::Key_Left);
        EXPECT_EQ(frame(), start);
    }
    window->classChooser[2]->setFocus(Qt::TabFocusReason);
    key(Qt::Key_Escape);
    EXPECT_NE(focus(), window->classChooser[2]);
    EXPECT_FALSE(window->Panel3->isAncestorOf(focus()) && focus() != window->PaintBox1);
    const int32_t start = frame();
    key(Qt::Key_Right);
    EXPECT_EQ(frame(), start + 1);
}

// A click in the groove moves the thumb to the point clicked and reads that frame, as a click on
// the chart goes to its time; it does not move a page.
TEST_F(KeyboardTest, AClickInTheTrackBarsGrooveGoesToThePointClicked) {
    makeWindow(100);
    Session s;
    s.lineCount = 39 * 100 + 50;  // 40 frames: the track bar's maximum is 40
    ASSERT_TRUE(open(session("forty", s)));
    SelectionTrackBar* bar = window->TrackBar1;
    ASSERT_EQ(bar->maximum(), 40);
    for (const int position : {30, 7, 40}) {
        SCOPED_TRACE(position);
        QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier,
                          QPoint(bar->pixelOfValue(position), bar->height() / 2));
        QApplication::processEvents();
        EXPECT_EQ(bar->value(), position);
        EXPECT_EQ(frame(), position);
    }
}

// Every action a menu holds, besides the window's own key actions.
std::vector<QAction*> menuActions(QMenuBar* bar) {
    std::vector<QAction*> all;
    std::vector<QMenu*> menus;
    for (QAction* a : bar->actions())
        if (a->menu() != nullptr) menus.push_back(a->menu());
    while (!menus.empty()) {
        QMenu* m = menus.back();
        menus.pop_back();
        for (QAction* a : m->actions()) {
            if (a->isSeparator()) continue;
            if (a->menu() != nullptr) {
                menus.push_back(a->menu());
                continue;
            }
            all.push_back(a);
        }
    }
    return all;
}

QString plainText(QString text) {
    text.remove(QLatin1Char('&'));
    text.remove(QChar(0x2026));
    return text.remove(QStringLiteral("...")).trimmed();
}

TEST_F(KeyboardTest, TheMenusAreThoseOfADesktopProgram) {
    makeWindow(100);
    QMenuBar* bar = window->menuBar();
    std::vector<QString> titles;
    for (QAction* a : bar->actions()) titles.push_back(plainText(a->text()));
    for (const char* title : {"File", "View", "Help"})
        EXPECT_NE(std::find(titles.begin(), titles.end(), title), titles.end()) << title;
    std::set<QString> texts;
    for (QAction* a : menuActions(bar)) texts.insert(plainText(a->text()));
    for (const char* text : {"Open", "Export session check", "Print session check", "Quit", "Marks",
                             "Verdicts", "Help", "About Velkor"})
        EXPECT_TRUE(texts.count(text)) << text;

    // A closed dock comes back through View.
    auto* dock = window->findChild<QDockWidget*>("verdictDock");
    ASSERT_NE(dock, nullptr);
    dock->close();
    EXPECT_FALSE(dock->isVisible());
    for (QAction* a : menuActions(bar))
        if (plainText(a->text()) == "Verdicts") a->trigger();
    EXPECT_TRUE(dock->isVisible());

    // About names the version.
    QApplication::setApplicationVersion("9.8.7");
    for (QAction* a : menuActions(bar))
        if (plainText(a->text()) == "About Velkor") a->trigger();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].second.contains("9.8.7"))
        << messages.shown[0].second.toStdString();
}

// The help page has a line for every action of the menus and every key of the window: a new action
// or key without one fails here.
TEST_F(KeyboardTest, EveryActionAndKeyHasItsLineOnTheHelpPage) {
    makeWindow(100);
    const QString help = window->helpPage->toPlainText();
    std::vector<QAction*> actions = menuActions(window->menuBar());
    for (QAction* a : window->actions()) actions.push_back(a);
    int checked = 0;
    for (QAction* a : actions) {
        const QString text = plainText(a->text());
        SCOPED_TRACE(text.toStdString());
        if (!text.isEmpty()) {
            EXPECT_TRUE(help.contains(text, Qt::CaseInsensitive)) << "no line for the action";
            ++checked;
        }
        for (const QKeySequence& keys : a->shortcuts()) {
            QString name = keys.toString(QKeySequence::PortableText);
            name.replace("PgUp", "Page Up").replace("PgDown", "Page Down");
            EXPECT_TRUE(help.contains(name)) << "no line for the key " << name.toStdString();
        }
    }
    EXPECT_GE(checked, 10);
    // What the window does besides its actions.
    for (const char* topic : {"click on the plot", "Verdicts", "size class", "Ctrl+C", "PNG",
                              "Page Up", "Page Down", "Ctrl+Q", "Tab", "Esc"})
        EXPECT_TRUE(help.contains(topic, Qt::CaseInsensitive)) << topic;
}

}  // namespace
}  // namespace velkor::test
