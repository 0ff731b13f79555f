#include "ui/widgets/BatchProgress.h"

#include <algorithm>

#include "platform/Os.h"
#include "ui/DrawBatch.h"
#include "ui/Font.h"
#include "ui/Skin.h"
#include "ui/Window.h"
#include "ui/WindowSystem.h"

namespace tamber::ui::widgets {
using namespace tamber::platform;

namespace {

constexpr uint32_t kProgressStyle = kStyleUpperLayer | kStyleKeepCentred | kStyleAltFrame | kStylePanelA |
                                    kStyleThinBorder | kStyleShadow | kStyleTitleBar | kStyleEnabled | kStyleVisible;
constexpr int kMargin = 12;
constexpr int kGap = 8;
constexpr int kTextWidth = 400;
constexpr int kBarHeight = 14;

int TextWidth(const Font* font, const std::string& text) {
    return ui::DrawText(font, text.c_str(), 0, kTextMeasureOnly, {0, 0, 1 << 20, 1 << 20});
}

// The text on one line within the width: control characters become spaces and a
// text too long loses its start ("...end of a long path"), where paths differ most.
std::string FitLine(const Font* font, std::string text, int width) {
    for (char& c : text) {
        if (static_cast<unsigned char>(c) < 32) c = ' ';
    }
    if (!font || TextWidth(font, text) <= width) return text;
    size_t lo = 0, hi = text.size();
    while (lo < hi) {
        size_t cut = (lo + hi) / 2;
        if (TextWidth(font, "..." + text.substr(cut)) <= width) hi = cut;
        else lo = cut + 1;
    }
    return "..." + text.substr(lo);
}

class BatchProgressWindow : public Window {
public:
    explicit BatchProgressWindow(const std::string& title) : Window(kProgressStyle & ~kStyleVisible, nullptr) {
        SetName(title.c_str());
        int lineHeight = GetFontHeight(GetFont()) + 2;
        int clientWidth = kTextWidth + 2 * kMargin;
        int clientHeight = 2 * kMargin + lineHeight + kGap + kBarHeight + kGap + lineHeight;
        SetSize(clientWidth, clientHeight);
        SetSize(clientWidth + Frame().Width() - Client().Width(), clientHeight + Frame().Height() - Client().Height());
        CenterInParent();
        SetVisible(true);
    }

    const char* GetClassName() const override { return "BatchProgress"; }

    void Set(const std::string& what, size_t done, size_t total) {
        if (!what.empty()) item_ = FitLine(GetFont(), what, kTextWidth);
        done_ = std::min(done, total);
        total_ = total;
        count_ = std::to_string(done_) + " of " + std::to_string(total_);
        InvalidateClient();
    }

    void Draw() override {
        int lineHeight = GetFontHeight(GetFont()) + 2;
        int y = kMargin;
        Skin::SetTextColor(false);
        DrawText(item_.c_str(), 0, 0, {kMargin, y, kMargin + kTextWidth, y + lineHeight});
        y += lineHeight + kGap;
        Rect bar{kMargin, y, kMargin + kTextWidth, y + kBarHeight};
        SetDrawColor(0, 0, 0, 96);
        Skin::FillRect(bar);
        if (total_ > 0 && done_ > 0) {
            int filled = int(double(bar.Width() - 2) * double(done_) / double(total_));
            Skin::SetSelectionColor(true);
            Skin::FillRect({bar.left + 1, bar.top + 1, bar.left + 1 + filled, bar.bottom - 1});
        }
        SetDrawColor(255, 255, 255, 160);
        Skin::DrawRectOutline(bar, 1, false);
        y += kBarHeight + kGap;
        Skin::SetTextColor(false);
        DrawText(count_.c_str(), 0, kTextCenter, {kMargin, y, kMargin + kTextWidth, y + lineHeight});
    }

private:
    std::string item_;
    std::string count_;
    size_t done_ = 0;
    size_t total_ = 0;
};

}  // namespace

BatchProgress::BatchProgress(const std::string& title) : window_(new BatchProgressWindow(title)) {}

BatchProgress::~BatchProgress() {
    window_->SetVisible(false);
    window_->Close();
    // Show the screen without the window before the caller goes on.
    WS().PresentNow();
}

void BatchProgress::Update(const std::string& what, size_t done, size_t total) {
    double now = OsGetTime();
    bool last = done >= total;
    if (!last && lastDraw_ >= 0 && now - lastDraw_ < kRedrawSeconds && now >= lastDraw_) return;
    static_cast<BatchProgressWindow*>(window_)->Set(what, done, total);
    lastDraw_ = now;
    WS().PresentNow();
}

}  // namespace tamber::ui::widgets
