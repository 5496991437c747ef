#include "platform/qt/QtControlBuilder.h"

#include "platform/qt/DialogUnits.h"
#include "platform/qt/LocaleCodec.h"
#include "platform/qt/QtIcon.h"
#include "platform/qt/QtLineEdit.h"
#include "platform/qt/QtListView.h"
#include "res/Layout.h"
#include "res/ResourceIds.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include <cstdlib>

namespace {

constexpr int kIconPixels = 32;

// The label a mnemonic text reads as: "&Name" gives "Name", "&&" gives "&".
QString WithoutMnemonic(const QString& text) {
    QString plain;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' && i + 1 < text.size()) ++i;
        plain.append(text[i]);
    }
    return plain;
}

// Whether control a is left of control b on the same row.
bool IsLeftOnSameRow(const SControlLayout& a, const SControlLayout& b) {
    return a.x < b.x && a.y < b.y + b.cy && b.y < a.y + a.cy;
}

// The index of the static text nearest to the left of control index on its row, or -1.
int FindLabelIndex(const SDialogLayout& layout, std::size_t index) {
    int label = -1;
    for (std::size_t i = 0; i < layout.controls.size(); ++i) {
        const SControlLayout& candidate = layout.controls[i];
        if (candidate.kind != EControlKind::StaticText || !IsLeftOnSameRow(candidate, layout.controls[index])) continue;
        if (label < 0 || candidate.x > layout.controls[static_cast<std::size_t>(label)].x) label = static_cast<int>(i);
    }
    return label;
}

void LabelEditFields(const SDialogLayout& layout, const std::vector<QWidget*>& widgets) {
    for (std::size_t i = 0; i < layout.controls.size(); ++i) {
        if (layout.controls[i].kind != EControlKind::Edit) continue;
        const int labelIndex = FindLabelIndex(layout, i);
        auto* label = labelIndex < 0 ? nullptr : dynamic_cast<QLabel*>(widgets[static_cast<std::size_t>(labelIndex)]);
        if (!label) continue;
        label->setBuddy(widgets[i]);
        widgets[i]->setAccessibleName(WithoutMnemonic(label->text()));
    }
}

void SetTabOrder(const SDialogLayout& layout, const std::vector<QWidget*>& widgets) {
    QWidget* previous = nullptr;
    for (std::size_t i = 0; i < layout.controls.size(); ++i) {
        if (!(layout.controls[i].style & kCsTabStop)) continue;
        if (previous) QWidget::setTabOrder(previous, widgets[i]);
        previous = widgets[i];
    }
}

}  // namespace

QString ControlObjectName(int id) { return QStringLiteral("control%1").arg(id); }

CQtControlBuilder::CQtControlBuilder(QWidget& dialog, const CDialogUnits& units, const CLocaleCodec& codec)
    : m_dialog(dialog), m_units(units), m_codec(codec) {}

std::vector<QWidget*> CQtControlBuilder::Build(const SDialogLayout& layout) const {
    std::vector<QWidget*> widgets;
    widgets.reserve(layout.controls.size());
    for (const SControlLayout& control : layout.controls) {
        QWidget* widget = Create(control);
        if (control.id != IDC_STATIC) widget->setObjectName(ControlObjectName(control.id));
        if (control.kind != EControlKind::Icon) {
            widget->setGeometry(m_units.ToPixels(control.x, control.y, control.cx, control.cy));
        }
        if (control.kind != EControlKind::GroupBox && control.kind != EControlKind::StaticText &&
            control.kind != EControlKind::Icon) {
            widget->setFocusPolicy((control.style & kCsTabStop) ? Qt::StrongFocus : Qt::ClickFocus);
        }
        widgets.push_back(widget);
    }
    SetTabOrder(layout, widgets);
    LabelEditFields(layout, widgets);
    return widgets;
}

QWidget* CQtControlBuilder::Create(const SControlLayout& control) const {
    switch (control.kind) {
        case EControlKind::PushButton:
            return CreatePushButton(control);
        case EControlKind::GroupBox:
            return CreateGroupBox(control);
        case EControlKind::StaticText:
            return CreateStaticText(control);
        case EControlKind::Edit:
            return CreateEdit(control);
        case EControlKind::ListView:
            return new CQtListView(control, m_codec, &m_dialog);
        case EControlKind::Icon:
            return CreateIcon(control);
    }
    return CreateStaticText(control);
}

QWidget* CQtControlBuilder::CreatePushButton(const SControlLayout& control) const {
    auto* button = new QPushButton(m_codec.ToQString(control.text), &m_dialog);
    // Enter is the dialog's business alone: no button becomes the default by getting the focus.
    button->setAutoDefault(false);
    button->setDefault((control.style & kCsDefault) != 0);
    return button;
}

QWidget* CQtControlBuilder::CreateGroupBox(const SControlLayout& control) const {
    auto* group = new QGroupBox(m_codec.ToQString(control.text), &m_dialog);
    group->setFocusPolicy(Qt::NoFocus);
    group->lower();  // behind the controls it frames, whatever their order in the layout
    return group;
}

QWidget* CQtControlBuilder::CreateStaticText(const SControlLayout& control) const {
    auto* label = new QLabel(m_codec.ToQString(control.text), &m_dialog);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    if (control.style & kCsSunken) label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    return label;
}

QWidget* CQtControlBuilder::CreateEdit(const SControlLayout& control) const {
    auto* edit = new CQtLineEdit(&m_dialog);
    edit->setFrame((control.style & kCsBorder) != 0);
    return edit;
}

QWidget* CQtControlBuilder::CreateIcon(const SControlLayout& control) const {
    auto* label = new QLabel(&m_dialog);
    const QIcon icon = control.text[0] == '#' ? LoadQtIcon(std::atoi(control.text + 1)) : QIcon();
    if (!icon.isNull()) label->setPixmap(icon.pixmap(kIconPixels, kIconPixels));
    // An icon control takes the icon's size, whatever the layout gives.
    const QRect position = m_units.ToPixels(control.x, control.y, control.cx, control.cy);
    label->setGeometry(position.x(), position.y(), kIconPixels, kIconPixels);
    return label;
}
