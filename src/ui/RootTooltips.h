#pragma once

#include <QtGlobal>

class QWidget;
class RootUi;
class Tooltips_Class;

// The main window's tips: its buttons, check boxes, the component list and
// the help icon explain themselves.
namespace RootTooltips {

// The program's one tooltip manager, made on first use and kept to the end.
Tooltips_Class& manager();

// Registers the window's tools anew (earlier ones go) with their texts and the
// window's delays, width and margins.
void setup(QWidget* root, const RootUi& ui, qint32 flags);

// The list's tip is the current entry's description; none while it has none.
void refresh(const RootUi& ui);

// The window closes: a tip showing goes with it; the tools stay.
void teardown();

} // namespace RootTooltips
