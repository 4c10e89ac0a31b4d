// The navigation bar on its own: the move each stroke asks for, the moves it offers while nothing
// is open, the engine's moves of the thumb that read nothing, and a drag whose positions pile up
// read once at the latest.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QSignalSpy>
#include <optional>

#include "replay/replay_engine.h"
#include "ui/navigation/navigation_bar.h"
#include "ui/navigation/selection_track_bar.h"

namespace velkor {
namespace {

TEST(NavigationBar, MoveForEveryGesture) {
    using Move = NavigationBar::Move;
    const struct {
        StrokeGesture gesture;
        std::optional<Move> move;
    } cases[] = {
        {StrokeGesture::sgiLeft, Move::forward},      {StrokeGesture::sgiRight, Move::backward},
        {StrokeGesture::sgiChevronLeft, Move::begin}, {StrokeGesture::sgiChevronRight, Move::end},
        {StrokeGesture::sgiUp, Move::autocount},      {StrokeGesture::sgiDown, Move::autocount},
        {StrokeGesture::none, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.gesture));
        EXPECT_EQ(NavigationBar::moveFor(c.gesture), c.move);
    }
}

TEST(NavigationBar, NothingOpenOffersNoMove) {
    Tsett settings;
    ReplayEngine engine(settings, nullptr);
    NavigationBar bar(nullptr);
    bar.showState(engine);
    for (QAction* move : bar.navigation)
        EXPECT_FALSE(move->isEnabled()) << move->text().toStdString();
    EXPECT_FALSE(bar.goTo->isEnabled());
    EXPECT_FALSE(bar.TrackBar1->isEnabled());
    // Open, Quit, Help and the marks stay available.
    for (QAction* a : {bar.open, bar.quit, bar.help, bar.marks}) EXPECT_TRUE(a->isEnabled());
}

TEST(NavigationBar, ProgramMovesReadNothingAndDragsAreReadAtTheirLatestPosition) {
    Tsett settings;
    ReplayEngine engine(settings, nullptr);
    NavigationBar bar(nullptr);
    QSignalSpy chosen(&bar, &NavigationBar::positionChosen);
    bar.showState(engine);  // moves the thumb to the engine's position: a program move
    EXPECT_EQ(chosen.count(), 0);

    bar.TrackBar1->setRange(1, 100);
    bar.TrackBar1->setValue(40);  // a click in the groove: read at once
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen.takeFirst().at(0).toInt(), 40);

    bar.TrackBar1->setSliderDown(true);
    for (int position : {41, 45, 52}) bar.TrackBar1->setValue(position);
    EXPECT_EQ(chosen.count(), 0);  // nothing read while the drag's events wait
    QApplication::processEvents();
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen.takeFirst().at(0).toInt(), 52);

    // A move in between supersedes a position not read yet.
    bar.TrackBar1->setValue(60);
    bar.forgetPendingPosition();
    QApplication::processEvents();
    EXPECT_EQ(chosen.count(), 0);
    bar.TrackBar1->setSliderDown(false);
}

}  // namespace
}  // namespace velkor
