// The read-outs' texts with their room, for checks from outside the program.
#include "ui/window/read_out_report.h"

#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTextDocument>  // Qt::mightBeRichText

namespace velkor {
namespace {

bool insideAncestors(const QWidget* w) {
    for (const QWidget* a = w->parentWidget(); a != nullptr; a = a->parentWidget()) {
        if (!a->rect().contains(QRect(w->mapTo(a, QPoint(0, 0)), w->size()))) return false;
        if (a->isWindow()) break;
    }
    return true;
}

QString line(const QWidget* w, const QString& text, int room, int needs) {
    return QStringLiteral("read-out %1 \"%2\" room %3 needs %4 inside %5")
        .arg(w->objectName(), text)
        .arg(room)
        .arg(needs)
        .arg(insideAncestors(w) ? 1 : 0);
}

}  // namespace

int textRoom(const QLineEdit& edit) {
    QStyleOptionFrame option;
    option.initFrom(&edit);
    option.lineWidth = edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &edit);
    const QRect contents =
        edit.style()->subElementRect(QStyle::SE_LineEditContents, &option, &edit);
    constexpr int innerMargins = 2 * 2;  // the line edit's own margin each side of its text
    return contents.width() - innerMargins;
}

QStringList readOutReport(const QWidget& window) {
    QStringList lines;
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        if (label->text().isEmpty() || !label->isVisible()) continue;
        if (label->wordWrap()) {
            lines << line(label, label->text(), label->height(),
                          label->heightForWidth(label->width()));
        } else if (label->textFormat() != Qt::PlainText && Qt::mightBeRichText(label->text())) {
            // Rich text is laid out line by line, so its markup is no measure: what the label
            // asks for is.
            lines << line(label, label->text(), label->width(), label->sizeHint().width());
        } else {
            lines << line(label, label->text(), label->contentsRect().width(),
                          label->fontMetrics().horizontalAdvance(label->text()));
        }
    }
    for (const QLineEdit* edit : window.findChildren<QLineEdit*>()) {
        if (edit->text().isEmpty() || !edit->isVisible()) continue;
        lines << line(edit, edit->text(), textRoom(*edit),
                      edit->fontMetrics().horizontalAdvance(edit->text()));
    }
    return lines;
}

}  // namespace velkor
