#include "ui/widgets/TextBox.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <memory>

#include "platform/Os.h"
#include "ui/DrawBatch.h"
#include "ui/Font.h"
#include "ui/Skin.h"
#include "ui/TextLayout.h"
#include "ui/WindowSystem.h"
#include "ui/RectOps.h"

namespace tamber::ui::widgets {
using namespace tamber::platform;

namespace {

struct ModeInfo {
    int kind;
    int maxLength;
    uint32_t flags;
};

constexpr uint32_t kEdit = TextBox::kEditable | TextBox::kSelectable;
constexpr ModeInfo kModes[] = {
    {TextBox::kKindText, 9999, TextBox::kMultiLine},
    {TextBox::kKindText, 9999, TextBox::kSelectable | TextBox::kMultiLine | TextBox::kWordWrap},
    {TextBox::kKindInteger, 11, kEdit},
    {TextBox::kKindDecimal, 8, kEdit},
    {TextBox::kKindLongLine, 9999, kEdit},
    {TextBox::kKindShortText, 255, kEdit},
    {TextBox::kKindText, 9999, kEdit | TextBox::kMultiLine | TextBox::kWordWrap},
};

constexpr int kTopMargin = 2;

// Zero bytes would end the laid-out text early, so they never enter a box.
std::string WithoutZeros(const std::string& text) {
    std::string clean = text;
    clean.erase(std::remove(clean.begin(), clean.end(), '\0'), clean.end());
    return clean;
}

bool IsWordChar(unsigned char c) { return std::isalnum(c) || c == '_' || c >= 128; }

}  // namespace

TextBox::TextBox(int mode, Window* parent) : ScrollableWindow(kStyleVisible, parent) {
    mode_ = std::clamp(mode, 0, 6);
    const ModeInfo& info = kModes[mode_];
    kind_ = info.kind;
    maxLength_ = info.maxLength;
    boxFlags_ = info.flags;
    if (boxFlags_ & (kEditable | kSelectable)) {
        SetFlags(kStyleFocusable);
        SetCursor(kCursorTextBeam);
    }
    if (boxFlags_ & kEditable) SetFlags(kStyleThinBorder);
    if (IsMultiLine() && mode_ != kModeLabel) {
        // Reserving the bar from the start keeps the wrap width stable.
        SetScrollRange(kVertical, 0, 1);
    }
    int border = (boxFlags_ & kEditable) ? WS().ThinBorder() : 0;
    SetSize(128, GetFontHeight(GetFont()) + 2 * border);
    Relayout(0);
}

int TextBox::RowHeight() const {
    const Font* font = GetFont();
    return font ? std::max(1, font->lineHeight + 2) : 16;
}

int TextBox::TextWidth() const { return std::max(1, Client().Width() - 2 * kMargin); }

int TextBox::VisibleRows() const { return std::max(1, (Client().Height() - kTopMargin) / RowHeight()); }

// ---- Layout ----

int TextBox::LineOf(int offset) const {
    auto it = std::upper_bound(lines_.begin(), lines_.end(), offset,
                               [](int value, const Line& line) { return value < line.start; });
    return it == lines_.begin() ? 0 : int(it - lines_.begin()) - 1;
}

void TextBox::LinePosition(int offset, int& line, int& column) const {
    line = LineOf(offset);
    column = lines_.empty() ? 0 : offset - lines_[size_t(line)].start;
}

void TextBox::Relayout(int fromOffset) {
    const Font* font = GetFont();
    const int size = int(text_.size());
    if (!IsMultiLine()) {
        int width = font ? ui::DrawText(font, text_.c_str(), 0, kTextMeasureOnly, Rect{0, 0, 1 << 30, 1 << 10}) : 0;
        lines_.assign(1, Line{0, size, size, width});
        return;
    }
    // A wrapped line may pull words up into the line before it.
    size_t first = lines_.empty() ? 0 : size_t(std::max(0, LineOf(fromOffset) - 1));
    int start = first < lines_.size() ? std::min(lines_[first].start, size) : 0;
    lines_.resize(first);
    const int flags = kTextMultiLine | ((boxFlags_ & kWordWrap) ? kTextWordWrap : 0);
    for (;;) {
        if (font) {
            TextLine line = LayoutLine(*font, text_.c_str(), flags, TextWidth(), start, font->EffectiveStyle(0));
            lines_.push_back(Line{line.start, line.end, line.next, line.width});
            if (!line.more) break;
            start = line.next;
        } else {
            size_t end = text_.find_first_of("\r\n", size_t(start));
            if (end == std::string::npos) {
                lines_.push_back(Line{start, size, size, 0});
                break;
            }
            lines_.push_back(Line{start, int(end), int(end) + 1, 0});
            start = int(end) + 1;
        }
    }
}

void TextBox::UpdateScrollRange() {
    if (!IsMultiLine() || mode_ == kModeLabel) return;
    SetLineStep(RowHeight());
    SetScrollRange(kVertical, int32_t(lines_.size()) * RowHeight() + 2 * kTopMargin, std::max(1, Client().Height()));
}

void TextBox::OnResize() {
    ScrollableWindow::OnResize();
    Relayout(0);
    UpdateScrollRange();
    EnsureCaretVisible();
}

int TextBox::XOf(const Line& line, int offset) const {
    const Font* font = GetFont();
    int end = std::clamp(offset, line.start, line.end);
    if (!font || end == line.start) return 0;
    std::string part = text_.substr(size_t(line.start), size_t(end - line.start));
    return ui::DrawText(font, part.c_str(), 0, kTextMeasureOnly, Rect{0, 0, 1 << 30, 1 << 10});
}

int TextBox::OffsetAt(Point local) const {
    if (lines_.empty()) return 0;
    int row = 0;
    if (IsMultiLine()) {
        int y = local.y - kTopMargin + Position(kVertical);
        row = y < 0 ? 0 : std::min(int(lines_.size()) - 1, y / RowHeight());
    }
    const Line& line = lines_[size_t(row)];
    const Font* font = GetFont();
    if (!font) return line.start;
    int index = CharIndexAtX(font, text_.c_str() + line.start, local.x - kMargin + scrollX_);
    return std::min(line.start + index, line.end);
}

// ---- Text and selection ----

void TextBox::SetText(const std::string& text) {
    text_ = WithoutZeros(text);
    lines_.clear();
    Relayout(0);
    // Stale actions would point into the old text.
    history_.Clear();
    anchor_ = caret_ = 0;
    scrollX_ = 0;
    desiredX_ = -1;
    UpdateScrollRange();
    ScrollTo(kVertical, 0);
    InvalidateClient();
}

void TextBox::SetInt(int value) { SetText(std::to_string(value)); }

void TextBox::SetFloat(double value) {
    char buffer[512];
    int length = std::snprintf(buffer, sizeof buffer, "%.0f", value);
    int decimals = maxLength_ - length - 2;
    std::string text;
    if (decimals < 0) {
        text = "invalid ???";
    } else {
        std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
        text = buffer;
        // Only a fraction loses its trailing zeros; "100" must stay "100".
        if (text.find('.') != std::string::npos) {
            while (text.size() >= 2 && text.back() == '0' && text[text.size() - 2] != '.') text.pop_back();
        }
    }
    bool differs = text != text_;
    SetText(text);
    if (differs) changed.Emit();
}

void TextBox::AppendText(const std::string& text) {
    std::string clean = WithoutZeros(text);
    if (clean.empty()) return;
    bool followEnd = Position(kVertical) >= ContentSize(kVertical) - VisibleSize(kVertical);
    int old = int(text_.size());
    text_ += clean;
    Relayout(old);
    UpdateScrollRange();
    if (followEnd) ScrollTo(kVertical, ContentSize(kVertical));
    InvalidateClient();
}

void TextBox::SetSelectionInternal(int anchor, int caret) {
    int size = int(text_.size());
    anchor = std::clamp(anchor, 0, size);
    caret = std::clamp(caret, 0, size);
    if (anchor == anchor_ && caret == caret_) return;
    anchor_ = anchor;
    caret_ = caret;
    CaretMoved();
    EnsureCaretVisible();
}

void TextBox::SetSelection(int anchor, int caret) {
    desiredX_ = -1;
    SetSelectionInternal(anchor, caret);
}

void TextBox::CaretMoved() {
    lastCaretMove_ = OsGetTime();
    caretShown_ = IsFocused() && IsEditable() && IsEnabled();
    InvalidateClient();
}

void TextBox::EnsureCaretVisible() {
    if (lines_.empty()) return;
    const Line& line = lines_[size_t(LineOf(caret_))];
    if (IsMultiLine()) {
        if (mode_ == kModeLabel) return;
        int row = RowHeight();
        int y = LineOf(caret_) * row;
        int position = Position(kVertical);
        int visible = Client().Height() - 2 * kTopMargin;
        if (y < position) ScrollTo(kVertical, y);
        else if (y + row > position + visible) ScrollTo(kVertical, y + row - visible);
        return;
    }
    int x = XOf(line, caret_);
    int width = TextWidth();
    int old = scrollX_;
    if (line.width <= width) scrollX_ = 0;
    else if (x < scrollX_) scrollX_ = x;
    else if (x > scrollX_ + width - 1) scrollX_ = x - width + 1;
    if (scrollX_ != old) InvalidateClient();
}

void TextBox::SelectAll() {
    if (IsSelectable()) SetSelection(0, int(text_.size()));
}

void TextBox::Copy() {
    if (!IsSelectable() || anchor_ == caret_) return;
    OsSetClipboardText(text_.substr(size_t(SelectionStart()), size_t(SelectionEnd() - SelectionStart())));
}

void TextBox::Cut() {
    if (!IsEditable() || anchor_ == caret_) return;
    Copy();
    Edit(TextBoxAction::kReplacedSelection, SelectionStart(), SelectionEnd() - SelectionStart(), "");
}

void TextBox::Paste() {
    std::string text;
    if (!IsEditable() || !OsGetClipboardText(text) || text.empty()) return;
    InsertText(text);
}

bool TextBox::Validate(const std::string& text) const {
    if (kind_ == kKindText) return true;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\n' || c == '\r' || c == '\t') return false;
        if (kind_ == kKindInteger) {
            // A minus sign only where it makes a negative number: first, at the start.
            bool leadingMinus = c == '-' && i == 0 && SelectionStart() == 0 &&
                                (size_t(SelectionEnd()) >= text_.size() || text_[size_t(SelectionEnd())] != '-');
            if (!std::isdigit(static_cast<unsigned char>(c)) && !leadingMinus) return false;
        } else if (kind_ == kKindDecimal) {
            if (!std::strchr("0123456789-.", c) || c == '\0') return false;
        }
    }
    size_t kept = text_.size() - size_t(SelectionEnd() - SelectionStart());
    return kept + text.size() <= size_t(maxLength_);
}

bool TextBox::InsertText(const std::string& text) {
    if (!IsEditable()) return false;
    std::string clean = WithoutZeros(text);
    if (!Validate(clean)) {
        OsBeep();
        return false;
    }
    int start = SelectionStart(), length = SelectionEnd() - start;
    if (clean.empty() && length == 0) return true;
    TextBoxAction::Kind kind = TextBoxAction::kReplacedSelection;
    if (clean.size() == 1) kind = length ? TextBoxAction::kTypedOverSelection : TextBoxAction::kTypedCharacter;
    Edit(kind, start, length, clean);
    return true;
}

void TextBox::DeleteBackward() {
    if (!IsEditable()) return;
    if (anchor_ != caret_) Edit(TextBoxAction::kDeletedBackward, SelectionStart(), SelectionEnd() - SelectionStart(), "");
    else if (caret_ > 0) Edit(TextBoxAction::kDeletedBackward, caret_ - 1, 1, "");
}

void TextBox::DeleteForward() {
    if (!IsEditable()) return;
    if (anchor_ != caret_) Edit(TextBoxAction::kDeletedForward, SelectionStart(), SelectionEnd() - SelectionStart(), "");
    else if (caret_ < int(text_.size())) Edit(TextBoxAction::kDeletedForward, caret_, 1, "");
}

void TextBox::Edit(TextBoxAction::Kind kind, int position, int length, const std::string& inserted) {
    TextBoxAction::Selection before{anchor_, caret_};
    int end = position + int(inserted.size());
    TextBoxAction::Selection after{end, end};
    auto action = std::make_unique<TextBoxAction>(this, kind, position, text_.substr(size_t(position), size_t(length)),
                                                  inserted, before, after);
    history_.AddAction(std::move(action), false);
}

void TextBox::ReplaceRange(int position, int length, const std::string& text, TextBoxAction::Selection selection) {
    int size = int(text_.size());
    position = std::clamp(position, 0, size);
    length = std::clamp(length, 0, size - position);
    text_.replace(size_t(position), size_t(length), text);
    Relayout(position);
    UpdateScrollRange();
    changed_ = true;
    desiredX_ = -1;
    anchor_ = caret_ = -1;  // forces the caret refresh even when the offsets stay
    SetSelectionInternal(selection.anchor, selection.caret);
    InvalidateClient();
}

bool TextBox::Undo() { return IsEditable() && history_.Undo(); }

bool TextBox::Redo() { return IsEditable() && history_.Redo(); }

void TextBox::SetReadOnly(bool readOnly) {
    boxFlags_ = readOnly ? boxFlags_ & ~kEditable : boxFlags_ | kEditable;
    if (boxFlags_ & (kEditable | kSelectable)) SetFlags(kStyleFocusable);
    CaretMoved();
}

void TextBox::SetWordWrap(bool wrap) {
    boxFlags_ = wrap ? boxFlags_ | kWordWrap : boxFlags_ & ~kWordWrap;
    lines_.clear();
    Relayout(0);
    UpdateScrollRange();
    InvalidateClient();
}

void TextBox::EmitChanged() {
    if (!changed_) return;
    changed_ = false;
    changed.Emit();
}

// ---- Caret movement ----

void TextBox::MoveCaret(CaretMove move, bool extend) {
    if (!IsSelectable() || lines_.empty()) return;
    int caret = caret_;
    const int lineIndex = LineOf(caret);
    const Line& line = lines_[size_t(lineIndex)];
    bool vertical = false;
    int rows = 0;
    switch (move) {
    case kLineStart: caret = line.start; break;
    case kLineEnd: caret = line.end; break;
    case kTextStart: caret = 0; break;
    case kTextEnd: caret = int(text_.size()); break;
    case kCharLeft:
        caret = !extend && anchor_ != caret_ ? SelectionStart() : caret - 1;
        break;
    case kCharRight:
        caret = !extend && anchor_ != caret_ ? SelectionEnd() : caret + 1;
        break;
    case kLineUp: rows = -1; break;
    case kLineDown: rows = 1; break;
    case kPageUp: rows = -VisibleRows(); break;
    case kPageDown: rows = VisibleRows(); break;
    }
    if (rows != 0) {
        if (!IsMultiLine()) {
            caret = rows < 0 ? 0 : int(text_.size());
        } else {
            vertical = true;
            if (desiredX_ < 0) desiredX_ = XOf(line, caret);
            int target = std::clamp(lineIndex + rows, 0, int(lines_.size()) - 1);
            const Line& to = lines_[size_t(target)];
            const Font* font = GetFont();
            int index = font ? CharIndexAtX(font, text_.c_str() + to.start, desiredX_) : 0;
            caret = std::min(to.start + index, to.end);
        }
    }
    int keepX = desiredX_;
    SetSelectionInternal(extend ? anchor_ : caret, caret);
    desiredX_ = vertical ? keepX : -1;
}

// ---- Input ----

bool TextBox::OnKey(Event& event) {
    if (!IsEnabled() || !(boxFlags_ & (kEditable | kSelectable))) return false;
    const int key = event.Key();
    const int mods = event.Modifiers();
    const bool shift = (mods & kModShift) != 0;
    if ((key == kKeyEnter || key == kKeyKeypadEnter) && kind_ != kKindText) {
        enter.Emit(event.Pressed() ? 1 : 0);
        return true;
    }
    if (!event.Pressed()) return false;
    bool handled = true;
    if (mods & kModCtrl) {
        switch (key) {
        case 'A': SelectAll(); break;
        case 'C': Copy(); break;
        case 'V': Paste(); break;
        case 'X': Cut(); break;
        case 'Y': Redo(); break;
        case 'Z': Undo(); break;
        default: handled = false; break;
        }
    } else {
        const bool editable = IsEditable();
        switch (key) {
        case kKeyTab: handled = editable && (InsertText("\t"), true); break;
        case kKeyBackspace: handled = editable && (DeleteBackward(), true); break;
        case kKeyDelete: handled = editable && (DeleteForward(), true); break;
        case kKeyEnter:
        case kKeyKeypadEnter: handled = editable && (InsertText("\n"), true); break;
        case kKeyHome: MoveCaret(kLineStart, shift); break;
        case kKeyEnd: MoveCaret(kLineEnd, shift); break;
        case kKeyPageUp: MoveCaret(kPageUp, shift); break;
        case kKeyPageDown: MoveCaret(kPageDown, shift); break;
        case kKeyUp: MoveCaret(kind_ == kKindText ? kLineUp : kTextStart, shift); break;
        case kKeyDown: MoveCaret(kind_ == kKindText ? kLineDown : kTextEnd, shift); break;
        case kKeyLeft: MoveCaret(kCharLeft, shift); break;
        case kKeyRight: MoveCaret(kCharRight, shift); break;
        default: handled = false; break;
        }
    }
    EmitChanged();
    return handled;
}

void TextBox::OnChar(Event& event) {
    if (!IsEnabled() || !IsEditable() || event.word[1] == 0) return;
    InsertText(std::string(1, char(event.Character())));
    EmitChanged();
}

void TextBox::OnMouseButton(Event& event) {
    if (event.Button() != 0 || !event.ButtonPressed() || !IsSelectable()) return;
    Point local{event.Position().x - Client().left, event.Position().y - Client().top};
    int offset = OffsetAt(local);
    bool extend = (event.Modifiers() & kModShift) != 0;
    desiredX_ = -1;
    SetSelectionInternal(extend ? anchor_ : offset, offset);
    dragPoint_ = event.Position();
    dragging_ = WS().BeginMouseTracking(this);
}

void TextBox::OnDoubleClick(Event& event) {
    if (event.Button() != 0 || !IsSelectable()) return;
    Point local{event.Position().x - Client().left, event.Position().y - Client().top};
    int start = OffsetAt(local), end = start;
    auto word = [&](int i) { return IsWordChar(static_cast<unsigned char>(text_[size_t(i)])); };
    while (start > 0 && word(start - 1)) --start;
    while (end < int(text_.size()) && word(end)) ++end;
    SetSelection(start, end);
}

void TextBox::OnMouseTrack(Point start, Point current, int phase) {
    (void)start;
    if (phase == 2) {
        dragging_ = false;
        return;
    }
    dragPoint_ = current;
    if (phase == 1 && RectContains(Client(), current)) {
        SetSelectionInternal(anchor_, OffsetAt({current.x - Client().left, current.y - Client().top}));
    }
}

void TextBox::Idle() {
    ScrollableWindow::Idle();
    const double now = OsGetTime();
    const Rect& client = Client();
    if (dragging_ && !RectContains(client, dragPoint_) && now - lastAutoScroll_ >= kAutoScrollSeconds) {
        lastAutoScroll_ = now;
        Point local{dragPoint_.x - client.left, dragPoint_.y - client.top};
        if (IsMultiLine()) {
            if (local.y < 0) ScrollBy(kVertical, -RowHeight());
            else if (local.y >= client.Height()) ScrollBy(kVertical, RowHeight());
            local.y = std::clamp(local.y, 0, std::max(0, client.Height() - 1));
        }
        SetSelectionInternal(anchor_, OffsetAt(local));
    }
    bool show = IsFocused() && IsEditable() && IsEnabled() &&
                (now - lastCaretMove_ < kCaretSteadySeconds || (int64_t(now * 2) & 1) != 0);
    if (show != caretShown_) {
        caretShown_ = show;
        InvalidateClient();
    }
}

Window* TextBox::OnFocusGained(Window*, int) {
    CaretMoved();
    return nullptr;
}

void TextBox::OnFocusLost(Window*, int) {
    caretShown_ = false;
    InvalidateClient();
}

void TextBox::OnVerticalScroll(int32_t, int32_t) { InvalidateClient(); }

// ---- Drawing ----

void TextBox::Draw() {
    const Font* font = GetFont();
    const Rect local{0, 0, Client().Width(), Client().Height()};
    if (IsEditable()) {
        SetDrawColor(0, 0, 0, 96);
        Skin::FillRect(local);
    }
    if (!font || lines_.empty()) return;
    const int row = RowHeight();
    const int fontHeight = GetFontHeight(font);
    const bool multi = IsMultiLine();
    const int top = multi ? kTopMargin - Position(kVertical) : (local.Height() - fontHeight) / 2;
    const int left = kMargin - scrollX_;
    const int selStart = SelectionStart(), selEnd = SelectionEnd();
    const bool focused = IsFocused();
    size_t first = multi ? size_t(std::max(0, (Position(kVertical) - kTopMargin) / row)) : 0;
    for (size_t i = first; i < lines_.size(); ++i) {
        const Line& line = lines_[i];
        int y = top + int(i) * row;
        if (y >= local.bottom) break;
        if (selStart < selEnd && selStart <= line.end && selEnd > line.start) {
            int x0 = XOf(line, std::max(selStart, line.start));
            int x1 = XOf(line, std::min(selEnd, line.end));
            if (selEnd > line.end && i + 1 < lines_.size()) x1 += 4;  // the line break is selected too
            if (x1 > x0) {
                Skin::SetSelectionColor(focused);
                Skin::FillRect({left + x0, y, left + x1, y + fontHeight});
            }
        }
        if (line.end > line.start) {
            std::string part = text_.substr(size_t(line.start), size_t(line.end - line.start));
            if (IsEnabled()) Skin::SetTextColor(false);
            else SetDrawColor(128, 128, 128, 255);
            ui::DrawText(font, part.c_str(), 0, 0, Rect{left, y, left + line.width + 64, y + row});
        }
    }
    if (caretShown_) {
        int index = LineOf(caret_);
        int x = left + XOf(lines_[size_t(index)], caret_);
        int y = top + index * row;
        SetDrawColor(255, 255, 255, 255);
        Skin::FillRect({x, y, x + 1, y + fontHeight});
    }
}

}  // namespace tamber::ui::widgets
