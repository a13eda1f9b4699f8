// ZuEditor20: search and replace in a pane.

#include "editctl/ZuEditor20.h"

namespace {

// A pane view as the search sees it.
class ViewSearchPane : public ZuSearchPane {
public:
    explicit ViewSearchPane(ZuPaneView& view) : view_(view) {}
    const ZuTextDocument& SearchDocument() const override { return view_.Document(); }
    int SearchPaneIndex() const override { return view_.PaneIndex(); }
    std::uint64_t CaretOffset() const override { return view_.CaretOffset(); }
    ZuErr SelectMatch(std::uint64_t from, std::uint64_t to) override
    {
        view_.LockUpdate(true);
        view_.UndoManager().Nest(true);
        view_.ClearSelection();
        view_.CaretToOffset(from);
        view_.StartSelection(ZuRangeStream);
        view_.CaretToOffset(to); // a live selection's end follows the caret
        view_.UndoManager().Nest(false);
        view_.LockUpdate(false);
        return ZuOk;
    }
    ZuErr ReplaceSelection(std::string_view bytes) override { return view_.ReplaceSelection(bytes); }

private:
    ZuPaneView& view_;
};

} // namespace

int ZuEditor20::RunSearch(ZuPaneView& view, bool replace, bool again, std::string_view target)
{
    ViewSearchPane pane(view);
    ZuErr error = ZuOk;
    const int step = search.RunSearch(pane, replace, again, target, error);
    if (error != ZuOk)
        Report(error);
    return step;
}

ZuErr ZuEditor20::SearchAction(int action)
{
    ViewSearchPane pane(FocusedView());
    switch (action) {
    case 9: return search.Search(pane);
    case 10: return search.Replace(pane);
    case 11: return search.SearchAgain(pane);
    default: return ZuErrBadParameter;
    }
}
