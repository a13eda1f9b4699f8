// CodeMax: panes and splitters, colours, fonts, margins, language and
// printing.

#include "platform/codemax/CodeMax.h"

#include "platform/codemax/CodeMaxPane.h"
#include "platform/forms/Error.h"
#include "platform/forms/ShowModal.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScopeGuard>
#include <QSplitter>

#include <algorithm>

namespace platform {
namespace {

using Sci = QsciScintillaBase;
constexpr int styles[] = {0, 1, 2, 3, 5};  // text, number, keyword, operator, comment
constexpr int lineNumberMargin = 0;
constexpr int bookmarkMargin = 1;
constexpr int foldMargin = 2;
constexpr int textFore = 4, operatorFore = 10, operatorBack = 11;

QColor fromColorRef(qint64 value)
{
    const auto v = quint32(value);
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

intptr_t toColorRef(const QColor& c) { return c.red() | c.green() << 8 | c.blue() << 16; }

}  // namespace

// ------------------------------------------------------------------- panes

void CodeMax::configurePane(CodeMaxPane& pane)
{
    connect(&pane, &QsciScintillaBase::SCN_MODIFIED, this,
            [this](int, int, const char*, int, int, int, int, int, int, int) { noteChange(); });
    connect(&pane, &QsciScintilla::selectionChanged, this, [this] {
        if (editDepth_ == 0)
            checkSelection();
    });
    connect(&pane, &QsciScintilla::cursorPositionChanged, this, [this](int, int) {
        if (editDepth_ == 0)
            checkSelection();
    });
    pane.Sci(Sci::SCI_MARKERDEFINE, BookmarkMarker, Sci::SC_MARK_BOOKMARK);
    pane.Sci(Sci::SCI_MARKERDEFINE, HighlightMarker, Sci::SC_MARK_BACKGROUND);
    pane.Sci(Sci::SCI_SETMARGINTYPEN, lineNumberMargin, Sci::SC_MARGIN_NUMBER);
    pane.Sci(Sci::SCI_SETMARGINTYPEN, bookmarkMargin, Sci::SC_MARGIN_COLOUR);
    pane.Sci(Sci::SCI_SETMARGINMASKN, bookmarkMargin, 1 << BookmarkMarker);
    pane.Sci(Sci::SCI_SETMARGINMASKN, lineNumberMargin, 0);
    pane.Sci(Sci::SCI_SETMARGINWIDTHN, foldMargin, 0);
    pane.Sci(Sci::SCI_SETMARGINSENSITIVEN, bookmarkMargin, 0);
    pane.Sci(Sci::SCI_SETVIEWWS, displayWhitespace_ ? Sci::SCWS_VISIBLEALWAYS : Sci::SCWS_INVISIBLE);
    pane.Lexer().SetLanguage(CodeMaxGlobals().FindLanguage(language_));
    pane.Lexer().SetColouring(colorSyntax_);
    applyStyles(pane);
    applyMargins(pane);
}

void CodeMax::layoutPanes()
{
    const bool h = hEnabled_ && hPos_ > 0;
    const bool v = vEnabled_ && vPos_ > 0;
    const int rows = v ? 2 : 1;
    // The pane the user works in may go: the pane that stays in its place
    // (its row or the upper one, its column or the left one) takes over its
    // caret, selection, scroll position and the keyboard, so that typing,
    // the status line and the commands go on where the user was.
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 2; ++c) {
            CodeMaxPane* going = panes_[size_t(r)][size_t(c)];
            CodeMaxPane* heir = panes_[size_t(r < rows ? r : 0)][size_t(c == 0 || h ? c : 0)];
            if (going && going == active_ && heir && heir != going) {
                showSamePlace(*going, *heir);
                const QWidget* focus = window()->focusWidget();
                if (focus && (focus == going || going->isAncestorOf(focus)))
                    heir->setFocus(Qt::OtherFocusReason);
                active_ = heir;
            }
        }
    for (int r = 0; r < 2; ++r) {
        for (int c = 0; c < 2; ++c) {
            CodeMaxPane*& slot = panes_[size_t(r)][size_t(c)];
            const bool wanted = r < rows && (c == 0 || h);
            if (wanted && !slot) {
                slot = makePane();
                rowSplitters_[size_t(r)]->insertWidget(c, slot);
            } else if (!wanted && slot && !(r == 0 && c == 0)) {
                dropPane(slot);
            }
        }
    }
    rowSplitters_[1]->setVisible(v);
    const int width = std::max(this->width(), 2);
    const int height = std::max(this->height(), 2);
    if (h) {
        const int x = std::clamp(int(hPos_), 1, std::max(1, width - 1));
        for (QSplitter* row : rowSplitters_)
            row->setSizes({x, std::max(1, width - x)});
    }
    if (v) {
        const int y = std::clamp(int(vPos_), 1, std::max(1, height - 1));
        rows_->setSizes({y, std::max(1, height - y)});
    }
    if (!active_)
        active_ = panes_[0][0];
    forgetSelection();
}

void CodeMax::SetEnableHSplitter(bool on)
{
    hEnabled_ = on;
    if (!on)
        hPos_ = 0;  // the split goes; enabling again gives an unsplit control
    layoutPanes();
}

void CodeMax::SetEnableVSplitter(bool on)
{
    vEnabled_ = on;
    if (!on)
        vPos_ = 0;
    layoutPanes();
}

double CodeMax::HSplitterPos() const
{
    if (panes_[0][1] && rowSplitters_[0]->sizes().value(0) > 0 && isVisible())
        return rowSplitters_[0]->sizes().value(0);
    return hPos_;
}

void CodeMax::SetHSplitterPos(double x)
{
    hPos_ = std::max(0.0, x);
    layoutPanes();
}

double CodeMax::VSplitterPos() const
{
    if (panes_[1][0] && rows_->sizes().value(0) > 0 && isVisible())
        return rows_->sizes().value(0);
    return vPos_;
}

void CodeMax::SetVSplitterPos(double y)
{
    vPos_ = std::max(0.0, y);
    layoutPanes();
}

// ------------------------------------------------------- colours and fonts

QColor CodeMax::colour(int item) const
{
    const qint64 value = colours_[size_t(item)];
    if (value < 0 || value > 0xFFFFFF) {
        // The programs never colour operators: until one does, they look
        // like the text around them (a fixed default could match the window).
        if (item == operatorFore || item == operatorBack)
            return colour(item - (operatorFore - textFore));
        return fromColorRef(colours_[0]);  // unset back colours follow the window
    }
    return fromColorRef(value);
}

QFont CodeMax::styleFont(int fontItem) const
{
    QFont f = font_;
    switch (fontStyles_[size_t(fontItem)]) {
    case 1: f.setBold(true); break;
    case 2: f.setItalic(true); break;
    case 3:
        f.setBold(true);
        f.setItalic(true);
        break;
    case 4: f.setUnderline(true); break;
    default: break;
    }
    return f;
}

void CodeMax::applyStyles(CodeMaxPane& pane)
{
    CodeMaxLexer& lexer = pane.Lexer();
    const QColor window = colour(0);
    lexer.setDefaultPaper(window);
    lexer.setDefaultColor(colour(4));
    lexer.setDefaultFont(styleFont(0));
    for (int s : styles) {
        lexer.setColor(colour(4 + 2 * s), s);
        lexer.setPaper(colour(5 + 2 * s), s);
        lexer.setFont(styleFont(s), s);
    }
    pane.Sci(Sci::SCI_STYLESETBACK, Sci::STYLE_DEFAULT, toColorRef(window));
    pane.setCaretForegroundColor(colour(4));
    pane.setMarginsForegroundColor(colour(26));
    pane.setMarginsBackgroundColor(colour(27));
    pane.setMarginsFont(styleFont(11));
    pane.setMarginBackgroundColor(bookmarkMargin, colour(1));
    // Straight to Scintilla: QScintilla's marker colour setters leave alone
    // the markers that it did not define itself.
    pane.Sci(Sci::SCI_MARKERSETFORE, BookmarkMarker, toColorRef(colour(2)));
    pane.Sci(Sci::SCI_MARKERSETBACK, BookmarkMarker, toColorRef(colour(3)));
    pane.Sci(Sci::SCI_MARKERSETBACK, HighlightMarker, toColorRef(colour(30)));
}

void CodeMax::applyMargins(CodeMaxPane& pane)
{
    if (lineNumbering_)
        pane.setMarginWidth(lineNumberMargin, QString(std::max(lineNumberDigits_, 2) + 1, QChar('9')));
    else
        pane.setMarginWidth(lineNumberMargin, 0);
    pane.setMarginWidth(bookmarkMargin, displayLeftMargin_ ? 16 : 0);
}

void CodeMax::applyAllStyles()
{
    for (const auto& row : panes_)
        for (CodeMaxPane* p : row)
            if (p)
                applyStyles(*p);
}

void CodeMax::applyAllMargins()
{
    for (const auto& row : panes_)
        for (CodeMaxPane* p : row)
            if (p)
                applyMargins(*p);
}

void CodeMax::updateLineNumberWidth()
{
    const int digits = int(QString::number(LineCount()).size());
    if (digits == lineNumberDigits_)
        return;
    lineNumberDigits_ = digits;
    if (lineNumbering_)
        applyAllMargins();
}

void CodeMax::SetColor(int item, qint64 colorRef)
{
    if (item < 0 || item >= int(colours_.size()))
        return;  // items the control does not use are accepted
    colours_[size_t(item)] = colorRef == 0xFFFFFFFF ? -1 : colorRef;
    applyAllStyles();
}

qint64 CodeMax::GetColor(int item) const
{
    return item >= 0 && item < int(colours_.size()) ? colours_[size_t(item)] : -1;
}

void CodeMax::SetFontStyle(int item, int style)
{
    if (item < 0 || item >= int(fontStyles_.size()) || style < 0 || style > 4)
        return;
    fontStyles_[size_t(item)] = style;
    applyAllStyles();
}

int CodeMax::GetFontStyle(int item) const
{
    return item >= 0 && item < int(fontStyles_.size()) ? fontStyles_[size_t(item)] : 0;
}

void CodeMax::SetFont(const QFont& font)
{
    font_ = font;
    applyAllStyles();
    applyAllMargins();
}

// ------------------------------------------------------------- view flags

void CodeMax::SetLineNumbering(bool on)
{
    lineNumbering_ = on;
    lineNumberDigits_ = int(QString::number(LineCount()).size());
    applyAllMargins();
}

void CodeMax::SetDisplayWhitespace(bool on)
{
    displayWhitespace_ = on;
    for (const auto& row : panes_)
        for (CodeMaxPane* p : row)
            if (p)
                p->Sci(Sci::SCI_SETVIEWWS, on ? Sci::SCWS_VISIBLEALWAYS : Sci::SCWS_INVISIBLE);
}

void CodeMax::SetDisplayLeftMargin(bool on)
{
    displayLeftMargin_ = on;
    applyAllMargins();
}

void CodeMax::SetColorSyntax(bool on)
{
    colorSyntax_ = on;
    applyLanguage();
}

void CodeMax::SetLanguage(const QString& name)
{
    language_ = name;
    applyLanguage();
}

void CodeMax::applyLanguage()
{
    const auto language = CodeMaxGlobals().FindLanguage(language_);
    for (const auto& row : panes_)
        for (CodeMaxPane* p : row)
            if (p) {
                p->Lexer().SetLanguage(language);
                p->Lexer().SetColouring(colorSyntax_);
            }
    // Colour again from the start, in idle time as the text is shown.
    sci(Sci::SCI_STARTSTYLING, 0, 0);
    for (const auto& row : panes_)
        for (CodeMaxPane* p : row)
            if (p)
                p->viewport()->update();
}

void CodeMax::Colourise()
{
    // The lexer colours a piece per request: ask until the end is reached.
    const intptr_t length = sci(Sci::SCI_GETLENGTH);
    for (intptr_t before = -1, now = sci(Sci::SCI_GETENDSTYLED); now < length && now != before;
         before = now, now = sci(Sci::SCI_GETENDSTYLED))
        sci(Sci::SCI_COLOURISE, uintptr_t(now), -1);
}

int CodeMax::HighlightedLine() const
{
    if (highlightHandle_ < 0)
        return -1;
    // Where it was put, unless edits moved it: finding a marker by its handle
    // walks every line of the text.
    const unsigned mask = 1u << HighlightMarker;
    if (highlightLine_ >= 0 && (sci(Sci::SCI_MARKERGET, uintptr_t(highlightLine_)) & mask))
        return highlightLine_;
    highlightLine_ = int(sci(Sci::SCI_MARKERLINEFROMHANDLE, uintptr_t(highlightHandle_)));
    return highlightLine_;
}

void CodeMax::SetHighlightedLine(int line)
{
    if (line != -1 && (line < 0 || line >= LineCount()))
        return;  // a line outside the text is ignored
    const int old = HighlightedLine();
    if (old == line)
        return;
    if (old >= 0)
        sci(Sci::SCI_MARKERDELETE, uintptr_t(old), HighlightMarker);
    highlightLine_ = line;
    highlightHandle_ = line < 0 ? -1 : int(sci(Sci::SCI_MARKERADD, uintptr_t(line), HighlightMarker));
}

void CodeMax::SetBookmark(int line, bool on)
{
    if (line < 0 || line >= LineCount())
        return;
    const bool set = sci(Sci::SCI_MARKERGET, uintptr_t(line)) & (1 << BookmarkMarker);
    if (on && !set)
        sci(Sci::SCI_MARKERADD, uintptr_t(line), BookmarkMarker);
    else if (!on && set)
        sci(Sci::SCI_MARKERDELETE, uintptr_t(line), BookmarkMarker);
}

bool CodeMax::HasBookmark(int line) const
{
    return line >= 0 && line < LineCount() && (sci(Sci::SCI_MARKERGET, uintptr_t(line)) & (1 << BookmarkMarker));
}

// ---------------------------------------------------------------- printing

bool CodeMax::PrintContents(QPrinter* printer, int flags)
{
    std::unique_ptr<QPrinter> chosen;
    if (!printer) {
        chosen = std::make_unique<QPrinter>(QPrinter::HighResolution);
        QPrintDialog dialog(chosen.get(), this);
        if (ShowModal(dialog) != QDialog::Accepted)
            return false;
        printer = chosen.get();
    }
    Colourise();
    CodeMaxPane& pane = active();
    intptr_t from = 0;
    intptr_t to = pane.Sci(Sci::SCI_GETLENGTH);
    if (flags & PrintSelection) {
        from = pane.Sci(Sci::SCI_GETSELECTIONSTART);
        to = pane.Sci(Sci::SCI_GETSELECTIONEND);
    }
    pane.Sci(Sci::SCI_SETPRINTCOLOURMODE,
             (flags & PrintColours) ? Sci::SC_PRINT_COLOURONWHITE : Sci::SC_PRINT_BLACKONWHITE);
    pane.Sci(Sci::SCI_SETPRINTWRAPMODE, Sci::SC_WRAP_WORD);
    pane.Sci(Sci::SCI_SETPRINTMAGNIFICATION, 0);
    // Paper is white where the screen's margin is grey: the line numbers,
    // light on the screen, print black; the text keeps its colours.
    const intptr_t numbersOnScreen = pane.Sci(Sci::SCI_STYLEGETFORE, Sci::STYLE_LINENUMBER);
    pane.Sci(Sci::SCI_STYLESETFORE, Sci::STYLE_LINENUMBER, 0);
    const auto restoreNumbers = qScopeGuard(
        [&pane, numbersOnScreen] { pane.Sci(Sci::SCI_STYLESETFORE, Sci::STYLE_LINENUMBER, numbersOnScreen); });
    QPainter painter;
    if (!painter.begin(printer))
        throw Error(75, QStringLiteral("The printer could not start printing."), QStringLiteral(".CodeMax"));
    const QRect page(0, 0, painter.device()->width(), painter.device()->height());
    intptr_t pos = from;
    while (pos < to) {
        const long next = pane.SendScintilla(Sci::SCI_FORMATRANGE, 1UL, &painter, page, long(pos), long(to));
        if (next <= pos)
            break;
        pos = next;
        if (pos < to)
            printer->newPage();
    }
    pane.Sci(Sci::SCI_FORMATRANGE, 0, 0);  // lets Scintilla free its print layout
    painter.end();
    return true;
}

}  // namespace platform
