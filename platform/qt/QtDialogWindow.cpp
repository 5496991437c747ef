#include "platform/qt/QtDialogWindow.h"

#include "platform/Dialog.h"
#include "platform/DialogKeys.h"
#include "platform/qt/CopyDropFilter.h"
#include "platform/qt/LocaleCodec.h"
#include "platform/qt/QtControlBuilder.h"
#include "platform/qt/QtIcon.h"
#include "platform/qt/QtListView.h"
#include "platform/qt/WindowPlacement.h"
#include "res/Commands.h"
#include "res/Layout.h"
#include "res/ResourceIds.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QStyle>
#include <QTimer>

#include <algorithm>

namespace {

Qt::WindowFlags WindowFlags(const SDialogLayout& layout) {
    Qt::WindowFlags flags = (layout.style & kDsAppWindow) ? Qt::Window : Qt::Dialog;
    flags |= Qt::CustomizeWindowHint | Qt::WindowCloseButtonHint;
    if (layout.style & kDsCaption) flags |= Qt::WindowTitleHint;
    if (layout.style & kDsSysMenu) flags |= Qt::WindowSystemMenuHint;
    return flags;
}

// The virtual-key code of a toolkit key, or 0 for a key that has none here.
unsigned VirtualKey(int key) {
    // Letters and digits have the same codes in both.
    const bool letterOrDigit = (key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9);
    if (letterOrDigit) return static_cast<unsigned>(key);
    constexpr unsigned kVkF1 = 0x70;
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return kVkF1 + static_cast<unsigned>(key - Qt::Key_F1);
    return key == Qt::Key_Delete ? kVkDelete : 0;
}

unsigned KeyModifiers(Qt::KeyboardModifiers modifiers) {
    return ((modifiers & Qt::ShiftModifier) ? kModShift : 0u) | ((modifiers & Qt::ControlModifier) ? kModControl : 0u) |
           ((modifiers & Qt::AltModifier) ? kModAlt : 0u);
}

bool IsContextMenuKey(const QKeyEvent& event) {
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
    return (event.key() == Qt::Key_Menu && modifiers == Qt::NoModifier) ||
           (event.key() == Qt::Key_F10 && modifiers == Qt::ShiftModifier);
}

}  // namespace

CQtDialogWindow::CQtDialogWindow(CDialog& dialog, const SDialogLayout& layout, CQtDialogWindow* owner,
                                 const CLocaleCodec& codec)
    : QDialog(owner, WindowFlags(layout)), m_dialog(dialog), m_layout(layout), m_codec(codec), m_units(layout) {
    setFont(m_units.Font());
    setWindowTitle(m_codec.ToQString(layout.title));
    m_designedSize = m_units.ToPixels(0, 0, layout.cx, layout.cy).size();
    if (layout.style & kDsResizable) {
        setMinimumSize(m_designedSize);
        resize(m_designedSize);
    } else {
        setFixedSize(m_designedSize);
    }
    setSizeGripEnabled(false);
    m_controls = CQtControlBuilder(*this, m_units, m_codec).Build(layout);
    for (QWidget* control : m_controls) control->installEventFilter(this);
    ConnectButtons();
    ConnectLists();
}

void CQtDialogWindow::ConnectButtons() {
    for (std::size_t i = 0; i < m_controls.size(); ++i) {
        if (auto* button = qobject_cast<QAbstractButton*>(m_controls[i])) {
            const int id = m_layout.controls[i].id;
            connect(button, &QAbstractButton::clicked, this, [this, id] { SendCommand(id); });
        }
    }
}

void CQtDialogWindow::ConnectLists() {
    for (std::size_t i = 0; i < m_controls.size(); ++i) {
        if (auto* list = dynamic_cast<CQtListView*>(m_controls[i])) {
            const int id = m_layout.controls[i].id;
            connect(list, &QAbstractItemView::doubleClicked, this, [this, id](const QModelIndex& index) {
                Dispatch([&] { m_dialog.HandleNotify(SNotify{kNmDblClk, id, index.row()}); });
            });
        }
    }
}

CQtDialogWindow::~CQtDialogWindow() = default;

int CQtDialogWindow::RunModal() {
    m_endResult.reset();
    bool focusFirstTabStop = true;
    Dispatch([&] { focusFirstTabStop = m_dialog.HandleInitDialog(); });
    if (m_endResult) return *m_endResult;
    if (focusFirstTabStop) FocusFirstTabStop();
    PlaceOnScreen();
    m_running = true;
    exec();
    m_running = false;
    // Ended by the toolkit, not by the dialog (a test's reject(), the application quitting): Cancel.
    return m_endResult.value_or(kIdCancel);
}

void CQtDialogWindow::EndModal(int result) {
    m_endResult = result;
    if (m_running && m_handlerDepth == 0) done(result);
}

// Runs a handler of the dialog; an EndModal it asked for takes effect once the outermost handler returns.
template <class Handler>
void CQtDialogWindow::Dispatch(Handler handler) {
    ++m_handlerDepth;
    try {
        handler();
    } catch (...) {
        // The dialog's entry points catch their own failures; nothing may leave a toolkit event.
    }
    --m_handlerDepth;
    if (m_handlerDepth == 0 && m_running && m_endResult) done(*m_endResult);
}

std::string CQtDialogWindow::GetControlText(int id) const {
    const QWidget* widget = GetControlWidget(id);
    if (const auto* edit = dynamic_cast<const QLineEdit*>(widget)) return m_codec.FromQString(edit->text());
    if (const auto* button = dynamic_cast<const QAbstractButton*>(widget)) return m_codec.FromQString(button->text());
    if (const auto* label = dynamic_cast<const QLabel*>(widget)) return m_codec.FromQString(label->text());
    if (const auto* group = dynamic_cast<const QGroupBox*>(widget)) return m_codec.FromQString(group->title());
    return {};
}

void CQtDialogWindow::SetControlText(int id, const std::string& text) {
    QWidget* widget = GetControlWidget(id);
    const QString shown = m_codec.ToQString(text);
    if (auto* edit = dynamic_cast<QLineEdit*>(widget)) {
        edit->setText(shown);
    } else if (auto* button = dynamic_cast<QAbstractButton*>(widget)) {
        button->setText(shown);
    } else if (auto* label = dynamic_cast<QLabel*>(widget)) {
        label->setText(shown);
    } else if (auto* group = dynamic_cast<QGroupBox*>(widget)) {
        group->setTitle(shown);
    }
}

void CQtDialogWindow::EnableControl(int id, bool enable) {
    if (QWidget* widget = GetControlWidget(id)) widget->setEnabled(enable);
}

bool CQtDialogWindow::IsControlEnabled(int id) const {
    const QWidget* widget = GetControlWidget(id);
    return widget && widget->isEnabledTo(this);
}

void CQtDialogWindow::FocusControl(int id) {
    QWidget* widget = GetControlWidget(id);
    if (!widget) return;
    widget->setFocus(Qt::OtherFocusReason);
    if (auto* edit = dynamic_cast<QLineEdit*>(widget)) edit->selectAll();
}

int CQtDialogWindow::GetFocusedControl() const {
    // The window's focus child, kept while another window is active (a message box over it).
    return ControlIdOf(focusWidget());
}

int CQtDialogWindow::ControlIdOf(const QWidget* widget) const {
    for (; widget && widget != this; widget = widget->parentWidget()) {
        for (std::size_t i = 0; i < m_controls.size(); ++i) {
            if (m_controls[i] == widget) return m_layout.controls[i].id == IDC_STATIC ? 0 : m_layout.controls[i].id;
        }
    }
    return 0;
}

void CQtDialogWindow::AttachList(int id, CCableTable& table) {
    if (auto* list = dynamic_cast<CQtListView*>(GetControlWidget(id))) list->AttachTable(table);
}

void CQtDialogWindow::InsertListColumn(int id, int column, const std::string& heading, int format, int width) {
    if (auto* list = dynamic_cast<CQtListView*>(GetControlWidget(id))) {
        list->InsertColumn(column, m_codec.ToQString(heading), format, m_units.ScaleDesignedWidth(width));
    }
}

unsigned CQtDialogWindow::GetListExtendedStyle(int id) const {
    const auto* list = dynamic_cast<const CQtListView*>(GetControlWidget(id));
    return list ? list->GetExtendedStyle() : 0;
}

void CQtDialogWindow::SetListExtendedStyle(int id, unsigned styles) {
    if (auto* list = dynamic_cast<CQtListView*>(GetControlWidget(id))) list->SetExtendedStyle(styles);
}

void CQtDialogWindow::EnsureListRowVisible(int id, int row) {
    if (auto* list = dynamic_cast<CQtListView*>(GetControlWidget(id))) list->ScrollRowIntoView(row);
}

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

void CQtDialogWindow::PostCommand(int id) {
    // Runs from the window's own event loop, which starts once the window is shown.
    QTimer::singleShot(0, this, [this, id] { Dispatch([&] { m_dialog.HandleCommand(id); }); });
}

void CQtDialogWindow::DragAcceptFiles(bool accept) {
    setAcceptDrops(accept);
    if (accept && !m_dropFilter) {
        m_dropFilter = new CCopyDropFilter(*this, [this](const std::vector<std::string>& paths) {
            Dispatch([&] { m_dialog.HandleDropFiles(paths); });
        });
    }
}

void CQtDialogWindow::SetIcon(int iconId, bool) {
    // One toolkit icon serves both sizes: it holds every size the resources have.
    const QIcon icon = LoadQtIcon(iconId);
    if (!icon.isNull()) setWindowIcon(icon);
}

bool CQtDialogWindow::IsMinimized() const { return isMinimized(); }

void CQtDialogWindow::GetClientSize(int& width, int& height) const {
    width = this->width();
    height = this->height();
}

void CQtDialogWindow::GetSystemIconSize(int& width, int& height) const {
    width = height = style()->pixelMetric(QStyle::PM_LargeIconSize, nullptr, this);
}

QWidget* CQtDialogWindow::GetControlWidget(int id) const {
    const SControlLayout* control = FindControl(id);
    return control ? m_controls[static_cast<std::size_t>(control - m_layout.controls.data())] : nullptr;
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

void CQtDialogWindow::FocusFirstTabStop() {
    for (std::size_t i = 0; i < m_controls.size(); ++i) {
        if ((m_layout.controls[i].style & kCsTabStop) && m_controls[i]->isEnabledTo(this)) {
            m_controls[i]->setFocus(Qt::TabFocusReason);
            if (auto* edit = dynamic_cast<QLineEdit*>(m_controls[i])) edit->selectAll();
            return;
        }
    }
}

void CQtDialogWindow::PlaceOnScreen() {
    const bool resizable = (m_layout.style & kDsResizable) != 0;
    const QSize size =
        FitWindowOnScreen(*this, parentWidget(), m_designedSize, resizable, (m_layout.style & kDsCenter) != 0);
    if (resizable && size.isValid()) setMinimumSize(size);
}

void CQtDialogWindow::KeepFrameOnScreenOnceFramed() {
    if (m_framed || !isVisible() || FrameMargins(*this).isNull() || !screen()) return;
    m_framed = true;
    // With the real frame known, a resizable window also takes back what a larger estimate cost it.
    const bool resizable = (m_layout.style & kDsResizable) != 0;
    const QRect available = screen()->availableGeometry();
    const SWindowPlacement placement = PlaceWindow(resizable ? m_designedSize : size(), resizable, FrameMargins(*this),
                                                   frameGeometry().center(), available);
    if (placement.clientSize == size() && available.contains(frameGeometry())) return;
    if (resizable) setMinimumSize(placement.clientSize);
    resize(placement.clientSize);
    move(placement.frameTopLeft);
}

void CQtDialogWindow::LayOutGrowingControls() {
    const int extraWidth = width() - m_designedSize.width();
    const int extraHeight = height() - m_designedSize.height();
    for (std::size_t i = 0; i < m_controls.size(); ++i) {
        const SControlLayout& control = m_layout.controls[i];
        if (!(control.style & kCsGrow)) continue;
        QRect area = m_units.ToPixels(control.x, control.y, control.cx, control.cy);
        area.setWidth(std::max(area.width() + extraWidth, 0));
        area.setHeight(std::max(area.height() + extraHeight, 0));
        m_controls[i]->setGeometry(area);
    }
}

void CQtDialogWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    KeepFrameOnScreenOnceFramed();
}

void CQtDialogWindow::moveEvent(QMoveEvent* event) {
    QDialog::moveEvent(event);
    KeepFrameOnScreenOnceFramed();
}

void CQtDialogWindow::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    LayOutGrowingControls();
    KeepFrameOnScreenOnceFramed();
}

const SControlLayout* CQtDialogWindow::FindControl(int id) const {
    if (id == IDC_STATIC) return nullptr;
    for (const SControlLayout& control : m_layout.controls) {
        if (control.id == id) return &control;
    }
    return nullptr;
}

QMenu& CQtDialogWindow::SystemMenu() {
    if (!m_systemMenu) m_systemMenu = new QMenu(this);
    return *m_systemMenu;
}
