#pragma once

class QMenu;
class TqkCustomRichEdit;

// The rich text control's built-in pop-up menu. Its items carry the names
// of their options ("rpoPopupCut", ...) and are shown, enabled and checked
// from the control's PopupOptions and state each time the menu opens.
namespace qkRichPopup {

void build(QMenu &menu, TqkCustomRichEdit &control);
void update(QMenu &menu, TqkCustomRichEdit &control);

} // namespace qkRichPopup
