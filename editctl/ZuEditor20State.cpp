// The control's state at its boundary: pane scope, the settings given to the
// panes, the operation frame with its change snapshot and events, the modified
// state, and the container's hooks for keys and errors.
#include "editctl/ZuEditor20.h"

#include "editctl/ZuEditor20Boundary.h"
#include "editctl/ZuPropertyInfo.h"
#include "editctl/engine/ZuSearch.h"
#include "platform/forms/MsgBox.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>

using namespace zuboundary;

void ZuEditor20::InitAutomation()
{
    search.confirm = [this](std::int16_t& answer) {
        short value = answer;
        emit SearchReplaceConfirm(&value);
        answer = value;
    };
    keyPress = [this](int& character) { OnKeyPress(character); };
    error = [this](ZuErr code) { OnInputError(code); };
    splitterMoved = [this] { PropertyChanged(1); };
    for (int i = 0; i < 2; ++i) {
        View(i).eraseBackground = [this, i](QPainter& painter, const QRect&) {
            short pane = short(i);
            qulonglong dc = qulonglong(reinterpret_cast<quintptr>(&painter));
            short erased = 0;
            emit EraseBackground(&pane, &dc, &erased);
            return erased != 0;
        };
    }
    installEventFilter(this);
    for (int i = 0; i < 2; ++i)
        PaneWindow(i).viewport()->installEventFilter(this);
    ApplyAllSettings();
}

void ZuEditor20::InstallWordBreak()
{
    // The container may place the next word break itself; NextX 0 leaves it to the default rule.
    Document().SetWordBreakCallback([this](int pane, ZuTextPosition from, ZuTextPosition& result) {
        int currentX = int(from.x) + 1, currentY = int(from.y), nextX = 0, nextY = 0;
        short paneIndex = short(pane);
        emit FindWordBreak(&currentX, &currentY, &nextX, &nextY, &paneIndex);
        if (nextX <= 0)
            return false;
        result = ZuTextPosition{std::uint32_t(nextX - 1), std::uint32_t(nextY > 0 ? nextY : currentY)};
        return true;
    });
}

namespace {

// The virtual-key code of a key, as the stock key events carry it.
short VirtualKey(int key)
{
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return short('A' + (key - Qt::Key_A));
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return short('0' + (key - Qt::Key_0));
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return short(112 + (key - Qt::Key_F1));
    switch (key) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Space: return 32;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    default: return 0;
    }
}

short ShiftState(Qt::KeyboardModifiers modifiers)
{
    return short(((modifiers & Qt::ShiftModifier) ? 1 : 0) | ((modifiers & Qt::ControlModifier) ? 2 : 0)
                 | ((modifiers & Qt::AltModifier) ? 4 : 0));
}

short ButtonOf(Qt::MouseButtons buttons)
{
    return short(((buttons & Qt::LeftButton) ? 1 : 0) | ((buttons & Qt::RightButton) ? 2 : 0)
                 | ((buttons & Qt::MiddleButton) ? 4 : 0));
}

}  // namespace

bool ZuEditor20::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        if (watched != this)
            break;
        auto* key = static_cast<QKeyEvent*>(event);
        short code = VirtualKey(key->key());
        if (event->type() == QEvent::KeyPress)
            emit KeyDown(&code, ShiftState(key->modifiers()));
        else
            emit KeyUp(&code, ShiftState(key->modifiers()));
        break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove:
    case QEvent::MouseButtonDblClick: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint point = watched == this ? mouse->position().toPoint()
                                             : static_cast<QWidget*>(watched)->mapTo(this, mouse->position().toPoint());
        const short shift = ShiftState(mouse->modifiers());
        if (event->type() == QEvent::MouseButtonPress) {
            emit MouseDown(ButtonOf(mouse->button()), shift, point.x(), point.y());
        } else if (event->type() == QEvent::MouseMove) {
            emit MouseMove(ButtonOf(mouse->buttons()), shift, point.x(), point.y());
        } else if (event->type() == QEvent::MouseButtonRelease) {
            emit MouseUp(ButtonOf(mouse->button()), shift, point.x(), point.y());
            emit Click();
        } else {
            emit DblClick();
        }
        break;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

// ---- Scope

std::vector<int> ZuEditor20::PanesInScope() const
{
    if (!userMode_ || paneIndex_ == -2)
        return {0, 1};
    if (paneIndex_ == -1)
        return {FocusPane()};
    return {paneIndex_};
}

int ZuEditor20::PaneToRead() const { return paneIndex_ < 0 ? FocusPane() : paneIndex_; }

// ---- Settings given to the engine

std::uint32_t ZuEditor20::TranslateColor(std::uint32_t color)
{
    if ((color & 0x80000000u) == 0)
        return color & 0x00FFFFFFu;
    const QPalette palette = QGuiApplication::palette();
    QPalette::ColorRole role = QPalette::Window;
    switch (color & 0xFFu) {
    case 0: role = QPalette::Mid; break;            // scroll bar
    case 5: role = QPalette::Base; break;           // window
    case 6: role = QPalette::Shadow; break;         // window frame
    case 8: role = QPalette::Text; break;           // window text
    case 9: role = QPalette::HighlightedText; break; // caption text
    case 13: role = QPalette::Highlight; break;
    case 14: role = QPalette::HighlightedText; break;
    case 15: role = QPalette::Button; break;        // button face
    case 16: role = QPalette::Dark; break;          // button shadow
    case 17: role = QPalette::PlaceholderText; break; // grey text
    case 18: role = QPalette::ButtonText; break;
    case 20: role = QPalette::Light; break;         // button highlight
    case 23: role = QPalette::ToolTipText; break;
    case 24: role = QPalette::ToolTipBase; break;
    default: break;
    }
    const QColor c = palette.color(role);
    return std::uint32_t(c.red()) | (std::uint32_t(c.green()) << 8) | (std::uint32_t(c.blue()) << 16);
}

void ZuEditor20::ApplyColors(int pane)
{
    const PaneSettings& s = settings_[std::size_t(pane)];
    for (int slot = 0; slot < 12; ++slot) {
        std::uint32_t color = TranslateColor(s.colors[std::size_t(slot)]);
        if ((slot == 2 || slot == 3) && SelColorType == 0)
            color = ZuNoColor;
        Document().SetPaneColor(pane, slot, color);
    }
    View(pane).InvalidateAll();
}

void ZuEditor20::ApplyPaneSettings(int pane)
{
    const PaneSettings& s = settings_[std::size_t(pane)];
    ZuPaneView& view = View(pane);
    view.SetScrollBars(s.scrollBars);
    view.SetMargins(s.leftMargin, s.topMargin, s.rightMargin, s.bottomMargin);
    view.SetWrapWholeWords(s.wrapWholeWords);
    view.SetWrapX(s.wrapX);
    view.SetWrapAutomatically(s.wrapAutomatically);
    view.SetCaretWidth(s.caretWidth);
    view.SetCaretHeight(s.caretHeight);
    view.SetUndoCaretEnabled(s.undoCaret);
    view.SetUndoCharFormattingEnabled(s.undoCharFormatting);
    view.SetDragDropEnabled(s.selDragDrop);
    view.SetReadOnly(ReadOnly);
    view.SetSelDefaultType(selDefaultType_);
    ApplyColors(pane);
}

void ZuEditor20::ApplyAllSettings()
{
    InstallWordBreak();
    UndoManager().SetLimit(undoLimit_);
    for (int i = 0; i < 2; ++i)
        ApplyPaneSettings(i);
}

// ---- The modified state: edits of the document since it was last clean

bool ZuEditor20::IsModified() const
{
    if (&Doc() != cleanDocument_) {
        // A new document starts unmodified.
        cleanDocument_ = &Doc();
        cleanEditCount_ = Doc().EditCount();
        forcedDirty_ = false;
    }
    return forcedDirty_ || Doc().EditCount() != cleanEditCount_;
}

void ZuEditor20::SetModified(bool modified)
{
    cleanDocument_ = &Document();
    cleanEditCount_ = Document().EditCount();
    forcedDirty_ = modified;
}

// ---- Change snapshot and events

ZuEditor20::PaneSnapshot ZuEditor20::SnapshotOf(int pane) const
{
    const ZuPaneView& view = ViewAt(pane);
    PaneSnapshot s;
    const bool empty = Doc().ByteCount() == 0;
    s.topY = empty ? 0 : int(view.TopLine()) + 1;
    s.extentX = view.ExtentX();
    s.leftX = view.LeftX();
    if (view.HasSelection()) {
        const ZuTextRange& range = view.Selection();
        s.selStartX = int(range.start.x) + 1;
        s.selStartY = int(range.start.y) + 1;
        s.selEndX = int(range.end.x) + 1;
        s.selEndY = int(range.end.y) + 1;
        s.selMark = short(range.type);
    } else {
        s.selMark = 0;
    }
    s.caretX = int(view.Caret().x) + 1;
    s.caretY = int(view.Caret().y) + 1;
    s.count = int(view.LineCount());
    return s;
}

ZuEditor20::ChangeSnapshot ZuEditor20::TakeSnapshot() const
{
    ChangeSnapshot s;
    s.focus = short(FocusPane());
    s.dirty = IsModified();
    for (int i = 0; i < 2; ++i)
        s.panes[std::size_t(i)] = SnapshotOf(i);
    return s;
}

void ZuEditor20::BeginChange()
{
    if (nesting_++ == 0)
        snapshot_ = TakeSnapshot();
}

void ZuEditor20::FireChanges(const ChangeSnapshot& before, const ChangeSnapshot& now)
{
    if (before.focus != now.focus) {
        short old = before.focus;
        emit PaneFocusChange(&old);
    }
    for (int i = 0; i < 2; ++i) {
        const PaneSnapshot& o = before.panes[std::size_t(i)];
        const PaneSnapshot& n = now.panes[std::size_t(i)];
        short pane = short(i);
        if (o.count != n.count) {
            int v = o.count;
            emit CountChange(&v, &pane);
        }
        if (o.topY != n.topY) {
            int v = o.topY;
            emit TopYChange(&v, &pane);
        }
        if (o.leftX != n.leftX) {
            int v = o.leftX;
            emit LeftXChange(&v, &pane);
        }
        if (o.extentX != n.extentX) {
            int v = o.extentX;
            emit ExtentXChange(&v, &pane);
        }
        if ((o.selMark != 0 || n.selMark != 0)
            && (o.selStartX != n.selStartX || o.selStartY != n.selStartY || o.selEndX != n.selEndX
                || o.selEndY != n.selEndY || o.selMark != n.selMark)) {
            int sx = o.selStartX, sy = o.selStartY, ex = o.selEndX, ey = o.selEndY;
            short mark = o.selMark;
            emit SelChange(&sx, &sy, &ex, &ey, &mark, &pane);
        }
        if (o.caretX != n.caretX || o.caretY != n.caretY) {
            int x = o.caretX, y = o.caretY;
            emit CaretChange(&x, &y, &pane);
        }
    }
    if (before.dirty != now.dirty)
        emit Change();
}

void ZuEditor20::EndChange()
{
    if (nesting_ == 1) {
        // Handlers run inside this frame: what they change is fired in a
        // further round, once the round that called them has ended.
        for (int round = 0; round < 16; ++round) {
            const ChangeSnapshot before = snapshot_;
            const ChangeSnapshot now = TakeSnapshot();
            if (before == now)
                break;
            snapshot_ = now;
            FireChanges(before, now);
        }
    }
    if (nesting_ > 0)
        --nesting_;
}

void ZuEditor20::PropertyChanged(int dispid)
{
    controlModified_ = true;
    if (!userMode_)
        emit PropertyNotify(dispid);
}

void ZuEditor20::Operate(int notifyDispid, const std::function<void()>& work)
{
    BeginChange();
    std::exception_ptr failure;
    try {
        work();
    } catch (...) {
        failure = std::current_exception();
    }
    EndChange();
    if (notifyDispid != 0)
        PropertyChanged(notifyDispid);
    ReportError(failure);
}

void ZuEditor20::ReportError(std::exception_ptr failure)
{
    if (!failure || !reportErrors_)
        return;
    const std::optional<platform::Error> e = ZuBoundaryError(failure);
    if (e)
        throw *e;
}

// ---- Keys and errors of the input

void ZuEditor20::OnKeyPress(int& character)
{
    short value = short(character);
    emit KeyPress(&value);
    // A value the container puts outside a byte cancels the character.
    character = value >= 0 && value <= 255 ? value : 0;
}

void ZuEditor20::OnInputError(ZuErr code)
{
    const ZuAutomationError e = AutomationError(code);
    QString description = QString::fromLatin1(e.text.c_str());
    bool cancelDisplay = false;
    emit Error(short(e.number), &description, int(0x800A0000u | quint32(e.number)), QStringLiteral("ZUEDIT2"),
               QStringLiteral("ZUEDIT32.HLP"), 0, &cancelDisplay);
    if (!cancelDisplay)
        platform::MsgBox(description, platform::vbExclamation);
}

QStringList ZuEditor20::PropertyPageProgIds()
{
    QStringList ids;
    for (const ZuPageInfo& page : ZuPages())
        ids.append(QString::fromLatin1(page.progId));
    return ids;
}

// ---- Stock font, cursor and drawing for the caller

void ZuEditor20::ApplyStockFont(const QFont& font)
{
    // The stock font becomes the document's default font, and new fonts start as it.
    const ZuQtMetrics metrics(font);
    Check(Document().Fonts().DefaultFont().Measure(metrics.DefaultFont()));
    Metrics() = metrics;
    setFont(font);
    FontsChanged();
    // Column selections need fixed-pitch fonts of one width; a new font may end them.
    for (int pane = 0; pane < 2; ++pane) {
        ZuPaneView& view = View(pane);
        if (view.HasSelection() && view.Selection().type == ZuRangeColumn && Document().Fonts().IsProportional())
            view.ChangeSelectionType(ZuRangeStream);
        view.InvalidateAll();
    }
}

void ZuEditor20::ApplyMousePointer()
{
    // 0 leaves the cursor to the panes, which choose theirs as the mouse moves.
    static const Qt::CursorShape Shapes[] = {
        Qt::ArrowCursor,     Qt::ArrowCursor,   Qt::CrossCursor,   Qt::IBeamCursor,   Qt::ArrowCursor,
        Qt::SizeAllCursor,   Qt::SizeBDiagCursor, Qt::SizeVerCursor, Qt::SizeFDiagCursor, Qt::SizeHorCursor,
        Qt::UpArrowCursor,   Qt::WaitCursor,    Qt::ForbiddenCursor, Qt::BusyCursor,  Qt::WhatsThisCursor,
        Qt::SizeAllCursor};
    if (MousePointer == 0) {
        unsetCursor();
        for (int i = 0; i < 2; ++i)
            PaneWindow(i).viewport()->unsetCursor();
        return;
    }
    const QCursor cursor(Shapes[std::clamp(MousePointer, 0, 15)]);
    setCursor(cursor);
    for (int i = 0; i < 2; ++i)
        PaneWindow(i).viewport()->setCursor(cursor);
}

void ZuEditor20::PaintFirstPane(QPainter& painter)
{
    painter.save();
    const QSize size = PaneWindow(0).ClientSize();
    View(0).Paint(painter, QRect(QPoint(0, 0), size), true);
    painter.restore();
}

void ZuEditor20::DrawSplitter(QPainter& painter)
{
    auto color = [](std::uint32_t rgb) { return QColor(int(rgb & 0xFF), int((rgb >> 8) & 0xFF), int((rgb >> 16) & 0xFF)); };
    painter.fillRect(rect(), color(TranslateColor(splitterBack_)));
    if (SplitterType == 0)
        return;
    const ZuPaneLayout layout = ComputeLayout(SplitterType, SplitterPosition, SplitterWidth, width(), height());
    QRect bar;
    if (SplitterType == 1) {
        const int end = layout.second.isValid() ? layout.second.left() : width();
        bar = QRect(layout.first.width(), 0, end - layout.first.width(), height());
    } else {
        const int end = layout.second.isValid() ? layout.second.top() : height();
        bar = QRect(0, layout.first.height(), width(), end - layout.first.height());
    }
    if (bar.width() <= 0 || bar.height() <= 0)
        return;
    if (appearance_ == 1) {
        const QPalette palette = QGuiApplication::palette();
        painter.fillRect(bar, palette.color(QPalette::Button));
        for (int i = 0; i < 2 && bar.width() > 2 * i && bar.height() > 2 * i; ++i) {
            const QRect edge = bar.adjusted(i, i, -i - 1, -i - 1);
            painter.setPen(palette.color(i == 0 ? QPalette::Light : QPalette::Midlight));
            painter.drawLine(edge.topLeft(), edge.topRight());
            painter.drawLine(edge.topLeft(), edge.bottomLeft());
            painter.setPen(palette.color(i == 0 ? QPalette::Shadow : QPalette::Dark));
            painter.drawLine(edge.bottomLeft(), edge.bottomRight());
            painter.drawLine(edge.topRight(), edge.bottomRight());
        }
    } else {
        painter.fillRect(bar, color(TranslateColor(splitterBack_)));
        painter.setPen(QPen(color(TranslateColor(splitterFore_)), 1));
        painter.drawRect(bar.adjusted(0, 0, -1, -1));
    }
}
