// The menu bar of the window.
#include "ui/window/window_menus.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>

#include "ui/window/message_boxes.h"

namespace velkor {

QString aboutText(const QString& version) {
    return QApplication::translate(
               "TfrmRecord",
               "Velkor %1\n\nReplays recordings of a line-scan fish fry counter "
               "through the counter's own counting algorithm, frame by frame.")
        .arg(version.isEmpty() ? QApplication::translate("TfrmRecord", "(no version)") : version);
}

QAction* makeAboutAction(QWidget* window, MessageBoxes& messages) {
    auto* about = new QAction(QApplication::translate("TfrmRecord", "&About Velkor"), window);
    about->setObjectName("aboutAction");
    about->setMenuRole(QAction::AboutRole);
    QObject::connect(about, &QAction::triggered, window, [window, &messages] {
        messages.show(window, MessageKind::information,
                      aboutText(QApplication::applicationVersion()));
    });
    return about;
}

void buildMenus(QMenuBar* bar, const WindowActions& a) {
    const auto tr = [](const char* text) { return QApplication::translate("TfrmRecord", text); };
    QMenu* file = bar->addMenu(tr("&File"));
    file->addAction(a.open);
    file->addSeparator();
    file->addAction(a.exportCheck);
    file->addAction(a.printCheck);
    file->addSeparator();
    file->addAction(a.quit);

    QMenu* edit = bar->addMenu(tr("&Edit"));
    edit->addAction(a.copy);

    QMenu* view = bar->addMenu(tr("&View"));
    view->addAction(a.marks);
    if (a.asCounted != nullptr) view->addAction(a.asCounted);
    view->addSeparator();
    for (QAction* dock : a.docks) view->addAction(dock);

    QMenu* go = bar->addMenu(tr("&Go"));
    for (int i = 0; i < 4; ++i) go->addAction(a.navigation[size_t(i)]);
    go->addSeparator();
    go->addAction(a.goTo);
    go->addAction(a.navigation[4]);

    QMenu* help = bar->addMenu(tr("&Help"));
    help->addAction(a.help);
    help->addSeparator();
    help->addAction(a.about);
}

}  // namespace velkor
