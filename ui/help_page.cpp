// The help page: a short guide to the window, kept beside the widgets it explains.
#include "ui/help_page.h"

#include <QKeyEvent>

namespace velkor {

HelpPage::HelpPage(QWidget* parent) : QTextBrowser(parent) {
    setObjectName("helpPage");
    setOpenLinks(false);
    document()->setDocumentMargin(12);
    setHtml(html());
}

QString HelpPage::html() {
    return QObject::tr(
        "<h2>Reading a recording</h2>"
        "<h3>The picture</h3>"
        "<p>The picture shows one frame of the recording: every scan line is one column, from left "
        "to right in time, and the scan line runs from top to bottom. Dark strokes are the objects "
        "the counter saw on a line; raised grey bars separate the channels. The frame is as many "
        "lines wide as the picture has pixels: the frame width.</p>"
        "<h3>Marks and their colours</h3>"
        "<p>With <b>Marks</b> on (key E), every object that ended in the frame has a frame around "
        "it: in its channel's colour with its running number when it was counted, dashed grey with "
        "the reason when it was not. Rest the pointer on a mark, or tap it, to see why.</p>"
        "<h3>Counters and recorded totals</h3>"
        "<p>The field beside each channel holds the fish counted in that channel from the frame of "
        "the latest jump up to the frame shown; the bold number above them is the total of all "
        "channels, and above it the time of the frame. Under each field, <i>recorded</i> is the "
        "session total the counter itself recorded. When the whole recording has been counted in "
        "the background, the line under the chart sets the replay's totals beside the recorded "
        "ones.</p>"
        "<p>The status bar under the picture says which frames the counters hold, the frame width "
        "in lines and seconds, channel 1's capacity at that width, and what ended in the frame.</p>"
        "<h3>Keys and strokes</h3>"
        "<table cellspacing=4>"
        "<tr><td><b>Home</b></td><td>first frame</td><td>chevron stroke to the left</td></tr>"
        "<tr><td><b>Left</b></td><td>one frame back</td><td>stroke to the right</td></tr>"
        "<tr><td><b>Right</b></td><td>one frame forward</td><td>stroke to the left</td></tr>"
        "<tr><td><b>End</b></td><td>last frame</td><td>chevron stroke to the right</td></tr>"
        "<tr><td><b>A</b></td><td>automatic count</td><td>stroke up or down</td></tr>"
        "<tr><td><b>Ctrl+G</b></td><td>Go to a time or a frame</td><td></td></tr>"
        "<tr><td><b>Ctrl+O</b></td><td>Open another recording</td><td></td></tr>"
        "<tr><td><b>E</b></td><td>marks on or off</td><td></td></tr>"
        "<tr><td><b>F1</b></td><td>this page; F1 or Esc goes back</td><td></td></tr>"
        "</table>"
        "<p>Dragging the track bar moves through the recording; a click on the chart shows the "
        "next channel's curve.</p>"
        "<h3>Automatic count</h3>"
        "<p>Press A at the first frame to mark it, go to the last frame and press A again: every "
        "frame from the mark up to the frame shown is counted, and the counters hold their "
        "fish.</p>"
        "<h3>Go to and Open</h3>"
        "<p><b>Go to</b> (Ctrl+G) jumps to a time hh:mm:ss or a frame number; the counts start "
        "afresh there. <b>Open</b> (Ctrl+O) opens another recording in the same window, as if the "
        "program had been started with it.</p>"
        "<h3>The same numbers from velkor-count</h3>"
        "<p>The counts depend on the frame width. To get the window's numbers on the command "
        "line, give velkor-count the frame width the status bar shows:</p>"
        "<pre>velkor-count --frame-width 1473 recording.blb</pre>"
        "<p>and add <tt>--from</tt> and <tt>--to</tt> with the frame numbers to count the frames "
        "the counters hold.</p>");
}

void HelpPage::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        emit closeRequested();
        return;
    }
    QTextBrowser::keyPressEvent(event);
}

}  // namespace velkor
