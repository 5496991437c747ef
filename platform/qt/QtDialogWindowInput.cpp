// The dialog window's keys and menus: Enter, Escape and the close box as the dialog's commands,
// other keys as accelerators or list notifications, the context menu and the system-menu items.
#include "platform/qt/QtDialogWindow.h"

#include "platform/Dialog.h"
#include "platform/DialogKeys.h"
#include "platform/qt/LocaleCodec.h"
#include "platform/qt/QtKeyCodes.h"
#include "platform/qt/QtListView.h"
#include "res/Layout.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QMenu>

#include <algorithm>

bool CQtDialogWindow::HasSystemMenu() const { return (m_layout.style & kDsSysMenu) != 0; }

void CQtDialogWindow::AppendSystemMenuSeparator() { SystemMenu().addSeparator(); }

void CQtDialogWindow::AppendSystemMenuItem(unsigned id, const std::string& text) {
    QAction* item = SystemMenu().addAction(m_codec.ToQString(text));
    item->setData(id);
}

int CQtDialogWindow::TrackPopupMenu(const std::vector<SPopupMenuItem>& items, SScreenPoint where) {
    QMenu menu(this);
    std::vector<const QAction*> actions;
    for (const SPopupMenuItem& item : items) {
        QAction* action = item.separator ? menu.addSeparator() : menu.addAction(m_codec.ToQString(item.text));
        action->setEnabled(item.enabled);
        actions.push_back(action);
    }
    const QAction* chosen = menu.exec(QPoint(where.x, where.y));
    const auto found = std::find(actions.begin(), actions.end(), chosen);
    return chosen && found != actions.end() ? static_cast<int>(found - actions.begin()) : -1;
}

bool CQtDialogWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        return HandleKey(static_cast<const QKeyEvent&>(*event), qobject_cast<QWidget*>(watched));
    }
    if (event->type() == QEvent::ContextMenu && m_menuShownByKey &&
        static_cast<const QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard) {
        // Some platforms follow the Menu key with a context-menu event of their own: the menu is shown.
        m_menuShownByKey = false;
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void CQtDialogWindow::keyPressEvent(QKeyEvent* event) {
    // Not QDialog's: its Enter and Escape rules are replaced by HandleKey's.
    if (!HandleKey(*event, this)) QWidget::keyPressEvent(event);
}

void CQtDialogWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    // While a window of its own runs over it, the dialog is disabled and its close box does nothing.
    if (QApplication::activeModalWidget() == this) SendCommand(CommandForEscape());
}

void CQtDialogWindow::contextMenuEvent(QContextMenuEvent* event) {
    if (m_menuShownByKey && event->reason() == QContextMenuEvent::Keyboard) {
        m_menuShownByKey = false;
    } else {
        ShowContextMenu(ControlIdOf(childAt(event->pos())), event->globalPos());
    }
    event->accept();
}

bool CQtDialogWindow::HandleKey(const QKeyEvent& event, QWidget* target) {
    m_menuShownByKey = false;
    switch (event.key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            SendCommand(CommandForEnter(m_layout, GetFocusedControl()));
            return true;
        case Qt::Key_Escape:
            SendCommand(CommandForEscape());
            return true;
        default:
            break;
    }
    return HandleDialogKey(event, target);
}

bool CQtDialogWindow::HandleDialogKey(const QKeyEvent& event, QWidget* target) {
    if (IsContextMenuKey(event)) {
        QWidget* anchor = target ? target : this;
        m_menuShownByKey = true;
        ShowContextMenu(ControlIdOf(anchor), anchor->mapToGlobal(anchor->rect().center()));
        return true;
    }
    const unsigned key = VirtualKey(event.key());
    bool used = false;
    if (key != 0) Dispatch([&] { used = m_dialog.HandleAccelerator(key, KeyModifiers(event.modifiers())); });
    const int id = ControlIdOf(target);
    if (!used && key != 0 && dynamic_cast<CQtListView*>(target)) {
        Dispatch([&] { m_dialog.HandleNotify(SNotify{kLvnKeyDown, id, -1, key}); });
    }
    return used;
}

void CQtDialogWindow::ShowContextMenu(int controlId, const QPoint& globalPosition) {
    bool shown = false;
    const SScreenPoint where{globalPosition.x(), globalPosition.y()};
    Dispatch([&] { shown = m_dialog.HandleContextMenu(controlId, where); });
    if (!shown && HasSystemMenuItems()) ShowSystemMenu(globalPosition);
}

// The dialog ignores the command of a disabled control, however it comes.
void CQtDialogWindow::SendCommand(int id) {
    Dispatch([&] { m_dialog.HandleCommand(id); });
}

void CQtDialogWindow::ShowSystemMenu(const QPoint& globalPosition) {
    const QAction* chosen = SystemMenu().exec(globalPosition);
    if (!chosen) return;
    const unsigned id = chosen->data().toUInt();
    Dispatch([&] { m_dialog.HandleSysCommand(id, 0); });
}

bool CQtDialogWindow::HasSystemMenuItems() const { return m_systemMenu && !m_systemMenu->isEmpty(); }

QMenu& CQtDialogWindow::SystemMenu() {
    if (!m_systemMenu) m_systemMenu = new QMenu(this);
    return *m_systemMenu;
}
