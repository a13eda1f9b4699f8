#pragma once
// Search and replace over the text of one pane: the control's search settings,
// the state it keeps between calls, one search step and the three actions that
// drive it (search, replace, search again). A pane takes part through
// ZuSearchPane; the container is asked through a callback before each
// replacement.
//
// Every loop ends: a forward step goes on after the match it handled (after
// its replacement), a backward one before that match's start, so a replacement
// that contains its own target is never found again. A confirmation answer
// outside 0..4 stops, and "replace all" lasts only for the action that got it.
// Whole words are judged in the paragraph, so a soft wrap is no word end.

#include "editctl/engine/ZuErrors.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

class ZuTextDocument;

// What one search step needs of a pane view, by byte offsets of the document.
class ZuSearchPane {
public:
    virtual ~ZuSearchPane() = default;
    virtual const ZuTextDocument& SearchDocument() const = 0;
    virtual int SearchPaneIndex() const = 0;
    virtual std::uint64_t CaretOffset() const = 0;
    // In one locked update and one undo group: the caret to `from`, the
    // selection cleared, then a stream selection from the caret to `to`.
    virtual ZuErr SelectMatch(std::uint64_t from, std::uint64_t to) = 0;
    // The selection replaced by bytes, as a SelText write does (the caret
    // after them).
    virtual ZuErr ReplaceSelection(std::string_view bytes) = 0;
};

// Step results.
enum ZuSearchStep : int {
    ZuSearchNotFound = 0,
    ZuSearchFound = -1,   // found (or replaced) and stop
    ZuSearchStopped = -2, // not replaced, stop
    ZuSearchReplaced = 1, // replaced, go on
    ZuSearchSkipped = 2,  // not replaced, go on
    ZuSearchReplaceAll = 4,
};

// Confirmation answers of the container.
enum ZuSearchAnswer : std::int16_t {
    ZuAnswerStop = 0,
    ZuAnswerReplace = 1,
    ZuAnswerSkip = 2,
    ZuAnswerReplaceStop = 3,
    ZuAnswerReplaceAll = 4,
};

class ZuSearch {
public:
    // Settings, bytes in the control's code page.
    std::string target;
    std::string replacement;
    int origin = 0; // 0 from the caret, otherwise the entire scope
    int to = 1;     // 0 backward (top of text), otherwise forward
    bool caseSensitive = false;
    bool wholeWordsOnly = false;
    int replaceAction = 0; // 0 confirm each, 1 replace one, 2 replace all

    // The container's answer to a replacement; it comes preset to 4.
    std::function<void(std::int16_t& answer)> confirm;

    // Results.
    int Result() const { return result_; }
    std::int32_t ReplaceCount() const { return replaceCount_; }

    // The actions. Each returns 0 or the error that ended it.
    ZuErr Search(ZuSearchPane& pane);
    ZuErr Replace(ZuSearchPane& pane);
    ZuErr SearchAgain(ZuSearchPane& pane);

    // One step: returns a ZuSearchStep; `error` gets what failed.
    int RunSearch(ZuSearchPane& pane, bool replace, bool again, std::string_view what, ZuErr& error);
    // The answer for a replacement, by replaceAction.
    std::int16_t FireSearchReplaceConfirm();

    // The match of a pattern from an offset, without moving anything: its start,
    // or -1. Forward: the first that starts at `from` or later; backward: the
    // last that starts before `from`.
    std::int64_t Find(const ZuTextDocument& document, int pane, std::string_view what, std::uint64_t from,
                      bool forward) const;

private:
    ZuErr Repeat(ZuSearchPane& pane, int step, bool again);
    std::uint64_t StartOffset(const ZuSearchPane& pane, bool forward, bool continuing) const;

    int result_ = 0;
    std::int32_t replaceCount_ = 0;
    bool replaceMode_ = false;
    std::int16_t lastAnswer_ = 0;
    bool continuing_ = false; // a later step of one action
    // The match last handled: its start, and the end of what now stands there.
    bool haveMatch_ = false;
    std::uint64_t matchStart_ = 0;
    std::uint64_t matchEnd_ = 0;
};
