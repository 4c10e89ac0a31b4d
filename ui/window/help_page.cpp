// The help page: a short guide to the window, kept beside the widgets it explains.
#include "ui/window/help_page.h"

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
        "lines wide as the picture has pixels: the frame width. Its context menu saves the frame, "
        "with its marks, as a PNG picture.</p>"
        "<h3>Marks and their colours</h3>"
        "<p>With <b>Marks</b> on (key E, or View: Marks), every object that ended in the frame has "
        "a frame around it: in its channel's colour with its running number when it was counted, "
        "dashed grey with the reason when it was not. Rest the pointer on a mark, or tap it, to "
        "see why. Where the picture has no room for a label beside its mark, the mark shows a "
        "small "
        "triangle in its corner and its label is in its tooltip.</p>"
        "<h3>Counters, size classes and recorded totals</h3>"
        "<p>The field beside each channel holds the fish counted in that channel from the frame of "
        "the latest jump up to the frame shown; the bold number above them is the total of all "
        "channels, and above it the time of the frame. Beside each counter's name, its chooser "
        "shows the channel's size class: choose another (with the mouse, or Tab to it and Up or "
        "Down; F4 opens it) to read the frame again and count the whole recording with it. Under "
        "each field, <i>recorded</i> is the session total the counter itself recorded. When the "
        "whole recording has been counted in the background, the line under the chart sets the "
        "replay's totals beside the recorded ones.</p>"
        "<p>The status bar under the picture says which frames the counters hold, the frame width "
        "in lines and seconds, channel 1's capacity at that width, and what ended in the frame.</p>"
        "<p>With <b>As counted</b> on (key C, or View: As counted), every move shows its frame as "
        "the continuous count from the first frame had it: its marks and numbers, and counters "
        "holding the totals from frame 1 up to it; the status bar then says <i>as counted from "
        "the start</i>. Off, a jump counts afresh from its frame. The Verdicts dock's links always "
        "show their frames as counted.</p>"
        "<h3>The chart and the track bar</h3>"
        "<p>The chart shows the session's throughput in fish/min over the time of day, one channel "
        "at a time. A click on the plot goes to that time; the buttons beside the chart choose the "
        "channel shown, and a click on its name or its legend shows the next one. A click on the "
        "track bar goes to the point clicked; dragging its thumb moves through the recording.</p>"
        "<h3>Verdicts</h3>"
        "<p>The <b>Verdicts</b> dock (View: Verdicts brings it back when closed) lists per channel "
        "how many objects of the whole session were counted or rejected for each reason, and how "
        "many were pieces of split objects; next \u25B8 goes to the next frame where one ended, "
        "\u25C2 to the one before.</p>"
        "<h3>Hand counts</h3>"
        "<p>The <b>Hand counts</b> dock (View: Hand counts, or Hand count... in the menu of a "
        "counter's caption) takes per channel the fish counted by hand or by weight; Enter keeps "
        "it "
        "in the session's notes file NAME.notes.json beside the recording. Under it the replay's "
        "difference to it, and the channel counted with every class against it, the report's class "
        "marked *, the nearest &lt;; a click on a class counts the channel with it.</p>"
        "<h3>Keys and strokes</h3>"
        "<table cellspacing=4>"
        "<tr><td><b>Home</b></td><td>First frame</td><td>chevron stroke to the left</td></tr>"
        "<tr><td><b>Left</b>, <b>Page Up</b></td><td>Previous frame</td>"
        "<td>stroke to the right</td></tr>"
        "<tr><td><b>Right</b>, <b>Page Down</b></td><td>Next frame, counting on</td>"
        "<td>stroke to the left</td></tr>"
        "<tr><td><b>End</b></td><td>Last frame</td><td>chevron stroke to the right</td></tr>"
        "<tr><td><b>A</b></td><td>Automatic count</td><td>stroke up or down</td></tr>"
        "<tr><td><b>Ctrl+G</b></td><td>Go to a time or a frame</td><td></td></tr>"
        "<tr><td><b>E</b></td><td>Marks on or off</td><td></td></tr>"
        "<tr><td><b>C</b></td><td>As counted on or off</td><td></td></tr>"
        "<tr><td><b>Ctrl+C</b></td><td>Copy the comparison (tab-separated, for a spreadsheet)</td>"
        "<td></td></tr>"
        "<tr><td><b>Ctrl+O</b></td><td>Open another recording</td><td></td></tr>"
        "<tr><td></td><td>Export session check: the session check as a PDF file (File menu)</td>"
        "<td></td></tr>"
        "<tr><td><b>Ctrl+P</b></td><td>Print session check</td><td></td></tr>"
        "<tr><td><b>F1</b></td><td>Help: this page; F1 or Esc goes back</td><td></td></tr>"
        "<tr><td></td><td>About Velkor: the version (Help menu)</td><td></td></tr>"
        "<tr><td><b>Ctrl+Q</b></td><td>Quit</td><td></td></tr>"
        "<tr><td><b>Tab</b>, <b>Shift+Tab</b></td><td>to the next or previous control: tool bar, "
        "track bar, class choosers, the chart's channel buttons (Up and Down choose the channel), "
        "the Verdicts links</td>"
        "<td></td></tr>"
        "<tr><td><b>Esc</b></td><td>out of a control, back to the picture</td><td></td></tr>"
        "</table>"
        "<p>Left, Right, Page Up and Page Down step frames wherever the focus is; Up and Down are "
        "the class chooser's and the chart buttons'.</p>"
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
