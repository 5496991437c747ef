#include "platform/qt/QtDialogWindow.h"

#include "platform/Dialog.h"
#include "platform/HandlerFailure.h"
#include "platform/qt/CopyDropFilter.h"
#include "platform/qt/LocaleCodec.h"
#include "platform/qt/QtControlBuilder.h"
#include "platform/qt/QtControlText.h"
#include "platform/qt/QtIcon.h"
#include "platform/qt/QtListView.h"
#include "res/Layout.h"
#include "res/ResourceIds.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QStyle>
#include <QTimer>

#include <string>

namespace {

Qt::WindowFlags WindowFlags(const SDialogLayout& layout) {
    Qt::WindowFlags flags = (layout.style & kDsAppWindow) ? Qt::Window : Qt::Dialog;
    flags |= Qt::CustomizeWindowHint | Qt::WindowCloseButtonHint;
    if (layout.style & kDsCaption) flags |= Qt::WindowTitleHint;
    if (layout.style & kDsSysMenu) flags |= Qt::WindowSystemMenuHint;
    return flags;
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

void CQtDialogWindow::Dispatch(const std::function<void()>& handler) {
    ++m_handlerDepth;
    try {
        handler();
    } catch (...) {
        // The dialog's entry points catch their own failures; nothing may leave a toolkit event.
        ReportCaughtFailure("toolkit event of dialog " + std::to_string(m_dialog.GetLayoutId()));
    }
    --m_handlerDepth;
    if (m_handlerDepth == 0 && m_running && m_endResult) done(*m_endResult);
}

std::string CQtDialogWindow::GetControlText(int id) const {
    return m_codec.FromQString(ReadControlText(GetControlWidget(id)));
}

void CQtDialogWindow::SetControlText(int id, const std::string& text) {
    WriteControlText(GetControlWidget(id), m_codec.ToQString(text));
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

void CQtDialogWindow::AttachList(int id, IListSource& table) {
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

void CQtDialogWindow::FocusFirstTabStop() {
    for (std::size_t i = 0; i < m_controls.size(); ++i) {
        if ((m_layout.controls[i].style & kCsTabStop) && m_controls[i]->isEnabledTo(this)) {
            m_controls[i]->setFocus(Qt::TabFocusReason);
            if (auto* edit = dynamic_cast<QLineEdit*>(m_controls[i])) edit->selectAll();
            return;
        }
    }
}

const SControlLayout* CQtDialogWindow::FindControl(int id) const {
    if (id == IDC_STATIC) return nullptr;
    for (const SControlLayout& control : m_layout.controls) {
        if (control.id == id) return &control;
    }
    return nullptr;
}
