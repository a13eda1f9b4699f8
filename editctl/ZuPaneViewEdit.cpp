// ZuPaneView: text commands, adjusting to document changes, wrapping, and the
// paragraph tab stops of the selection.

#include "editctl/ZuPaneView.h"

ZuErr ZuPaneView::InsertText(ZuTextPosition, std::string_view) { return ZuOk; }
ZuErr ZuPaneView::InsertFill(ZuTextPosition, char, std::uint32_t) { return ZuOk; }
ZuErr ZuPaneView::DeleteRange(const ZuTextRange&) { return ZuOk; }
ZuErr ZuPaneView::DeleteSelection() { return ZuOk; }
ZuErr ZuPaneView::ReplaceSelection(std::string_view) { return ZuOk; }
ZuErr ZuPaneView::TypeChar(char, std::uint32_t, bool) { return ZuOk; }
ZuErr ZuPaneView::DeleteCharAfter() { return ZuOk; }
ZuErr ZuPaneView::DeleteToLineEnd() { return ZuOk; }
ZuErr ZuPaneView::DeleteCharBefore(std::uint32_t) { return ZuOk; }
ZuErr ZuPaneView::InsertParagraphBreak() { return ZuOk; }
ZuErr ZuPaneView::InsertFragment(const ZuTextRange&, ZuTextDocument&) { return ZuOk; }
ZuErr ZuPaneView::WrapRange(std::uint32_t, std::uint32_t, int, bool) { return ZuOk; }
ZuErr ZuPaneView::WrapAll() { return ZuOk; }
ZuErr ZuPaneView::UnwrapAll() { return ZuOk; }
ZuErr ZuPaneView::SetWrapAutomatically(bool on) { autoWrap_ = on; return ZuOk; }
ZuErr ZuPaneView::WrapSelection() { return ZuOk; }
ZuErr ZuPaneView::SetSelTabPosition(std::int32_t, std::int32_t) { return ZuOk; }
ZuErr ZuPaneView::SetSelTabAlignment(std::int32_t, std::uint32_t) { return ZuOk; }
ZuErr ZuPaneView::SetSelTabLeader(std::int32_t, std::uint32_t) { return ZuOk; }
ZuErr ZuPaneView::SetSelTabCount(std::int32_t) { return ZuOk; }
ZuErr ZuPaneView::ClearSelTabs() { return ZuOk; }
ZuErr ZuPaneView::ClearAllTabs() { return ZuOk; }
void ZuPaneView::AdjustForRemoval(const ZuTextRange&, std::uint32_t) {}
void ZuPaneView::AdjustForInsertion(const ZuTextRange&, std::uint32_t) {}
ZuErr ZuPaneView::RewrapAfterEdit(std::uint32_t, std::uint32_t) { return ZuOk; }
ZuErr ZuPaneView::ChangeParagraphTabs(const std::function<ZuErr(ZuTabSet&, bool)>&) { return ZuOk; }
