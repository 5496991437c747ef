#pragma once
// The widgets of a dialog layout: one per control, at the control's position and size, with its
// text and style, Tab reaching the tab-stop controls in the layout's order, and each edit field
// named after the static text left of it, for assistive tools and the label's mnemonic.

#include <QString>

#include <vector>

class CDialogUnits;
class CLocaleCodec;
class QWidget;
struct SControlLayout;
struct SDialogLayout;

class CQtControlBuilder {
public:
    CQtControlBuilder(QWidget& dialog, const CDialogUnits& units, const CLocaleCodec& codec);

    // Creates the controls of layout on the dialog: one widget per control, in the layout's order.
    std::vector<QWidget*> Build(const SDialogLayout& layout) const;

private:
    QWidget* Create(const SControlLayout& control) const;
    QWidget* CreatePushButton(const SControlLayout& control) const;
    QWidget* CreateGroupBox(const SControlLayout& control) const;
    QWidget* CreateStaticText(const SControlLayout& control) const;
    QWidget* CreateEdit(const SControlLayout& control) const;
    QWidget* CreateIcon(const SControlLayout& control) const;

    QWidget& m_dialog;
    const CDialogUnits& m_units;
    const CLocaleCodec& m_codec;
};

// The object name of control id's widget ("control1010"), by which tests can find it.
QString ControlObjectName(int id);
