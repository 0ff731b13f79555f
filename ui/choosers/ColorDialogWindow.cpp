#include "ui/choosers/ColorDialogWindow.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "ui/WindowSystem.h"
#include "ui/choosers/ChooserControls.h"
#include "ui/choosers/FileDialogs.h"
#include "ui/widgets/Button.h"
#include "ui/widgets/ColorButton.h"
#include "ui/widgets/TextBox.h"

namespace tamber::ui::choosers {
using namespace tamber::ui::widgets;

namespace {

constexpr int kFieldWidth = 256;
constexpr int kFieldHeight = 168;
constexpr int kStripWidth = 18;
constexpr int kGap = 8;
constexpr int kRowSpacing = 27;
constexpr int kNumberLabelWidth = 44;
constexpr int kNumberWidth = 44;
constexpr int kSwatchWidth = 24;
constexpr int kSwatchHeight = 18;
constexpr int kSwatchGap = 4;
constexpr int kRunFlags = 1 | 4;

constexpr const char* kNumberLabels[] = {"Red:", "Green:", "Blue:", "Hue:", "Sat:", "Val:"};
constexpr int kNumberMaxima[] = {255, 255, 255, 359, 100, 100};

int ReadNumber(const TextBox* box, int maximum, bool& valid) {
    const std::string& text = box->Text();
    char* end = nullptr;
    long value = std::strtol(text.c_str(), &end, 10);
    valid = !text.empty() && end && *end == '\0' && value >= 0 && value <= maximum;
    return int(value);
}

}  // namespace

ColorDialogWindow::ColorDialogWindow(Rgb initial) {
    SetVisible(false);
    SetName("Color");
    const int left = kMargin, top = kMargin;
    field_ = new HueSaturationField(this);
    field_->SetFrameXYWH(left, top, kFieldWidth, kFieldHeight);
    strip_ = new ValueStrip(this);
    strip_->SetFrameXYWH(left + kFieldWidth + kGap, top, kStripWidth, kFieldHeight);
    field_->picked.Connect(this, &ColorDialogWindow::OnPicked);
    strip_->picked.Connect(this, &ColorDialogWindow::OnPicked);

    const int column = left + kFieldWidth + kGap + kStripWidth + 2 * kGap;
    preview_ = new ColorSwatch(this, -1);
    preview_->SetName("Preview");
    const int columnWidth = 2 * (kNumberLabelWidth + kNumberWidth) + kGap;
    preview_->SetFrameXYWH(column, top, columnWidth, 40);

    Window* previous = nullptr;
    int rowHeight = 0;
    for (int i = 0; i < kNumberFields; ++i) {
        int x = column + (i / 3) * (kNumberLabelWidth + kNumberWidth + kGap);
        auto* box = new TextBox(TextBox::kModeInteger, this);
        box->SetName(kNumberLabels[i]);
        box->SetMaxLength(3);
        rowHeight = box->Frame().Height();
        int y = top + 40 + kGap + (i % 3) * kRowSpacing;
        MakeLabel(this, kNumberLabels[i], x, y, kNumberLabelWidth, rowHeight);
        box->SetFrameXYWH(x + kNumberLabelWidth, y, kNumberWidth, rowHeight);
        box->changed.Connect(this, &ColorDialogWindow::OnNumberChanged);
        if (previous) box->InsertTabAfter(previous);
        previous = box;
        numbers_[size_t(i)] = box;
    }
    int hexY = top + 40 + kGap + 3 * kRowSpacing;
    MakeLabel(this, "Hex:", column, hexY, kNumberLabelWidth, rowHeight);
    hex_ = new TextBox(TextBox::kModeTextField, this);
    hex_->SetName("Hex");
    hex_->SetMaxLength(7);
    hex_->SetFrameXYWH(column + kNumberLabelWidth, hexY, kNumberWidth * 2, rowHeight);
    hex_->changed.Connect(this, &ColorDialogWindow::OnHexChanged);
    hex_->InsertTabAfter(previous);

    int customY = top + kFieldHeight + kGap;
    TextBox* customLabel = MakeLabel(this, "Custom Colors:", left, customY, kFieldWidth, rowHeight);
    customY += customLabel->Frame().Height() + 2;
    for (int i = 0; i < 16; ++i) {
        auto* swatch = new ColorSwatch(this, i);
        swatch->SetName(("Custom " + std::to_string(i + 1)).c_str());
        swatch->SetFrameXYWH(left + (i % 8) * (kSwatchWidth + kSwatchGap),
                             customY + (i / 8) * (kSwatchHeight + kSwatchGap), kSwatchWidth, kSwatchHeight);
        swatch->SetColor(CustomColors()[size_t(i)]);
        swatch->pressed.Connect(this, &ColorDialogWindow::OnCustomPressed);
        custom_[size_t(i)] = swatch;
    }
    custom_[0]->SetMarked(true);
    addCustom_ = MakeButton(this, "Add to Custom Colors", column, customY, columnWidth);
    addCustom_->clicked.Connect(this, &ColorDialogWindow::OnAddCustom);
    addCustom_->InsertTabAfter(hex_);
    LinkTabOrder(addCustom_);

    int contentRight = column + columnWidth;
    int contentBottom = customY + 2 * kSwatchHeight + kSwatchGap;
    SetContentSize(contentRight - left, contentBottom - top);
    SetColor(RgbToHsv(initial), initial, nullptr);
}

bool ColorDialogWindow::Run() {
    CenterInParent();
    SetVisible(true);
    WS().SetFocus(hex_, kFocusByProgram);
    hex_->SelectAll();
    return WS().RunModal(this, kRunFlags) == 1;
}

void ColorDialogWindow::SetHsv(const Hsv& hsv, const Window* source) { SetColor(hsv, HsvToRgb(hsv), source); }

void ColorDialogWindow::SetColor(const Hsv& hsv, Rgb rgb, const Window* source) {
    hsv_ = hsv;
    rgb_ = rgb;
    field_->SetColor(hsv_);
    strip_->SetColor(hsv_);
    preview_->SetColor(rgb_);
    ShowNumbers(source);
}

void ColorDialogWindow::ShowNumbers(const Window* source) {
    updating_ = true;
    int values[kNumberFields] = {rgb_.r, rgb_.g, rgb_.b, int(std::lround(hsv_.h)) % 360, int(std::lround(hsv_.s * 100)),
                                 int(std::lround(hsv_.v * 100))};
    // The field being typed into keeps its text; the numbers from the other model follow.
    bool fromRgb = source == numbers_[kRed] || source == numbers_[kGreen] || source == numbers_[kBlue];
    bool fromHsv = source == numbers_[kHue] || source == numbers_[kSaturation] || source == numbers_[kValue];
    for (int i = 0; i < kNumberFields; ++i) {
        bool rgbField = i < kHue;
        if ((fromRgb && rgbField) || (fromHsv && !rgbField)) continue;
        numbers_[size_t(i)]->SetText(std::to_string(values[i]));
    }
    if (source != hex_) hex_->SetText(FormatHexColor(rgb_));
    updating_ = false;
}

void ColorDialogWindow::OnNumberChanged() {
    if (updating_) return;
    int values[kNumberFields];
    for (int i = 0; i < kNumberFields; ++i) {
        bool valid = false;
        values[i] = ReadNumber(numbers_[size_t(i)], kNumberMaxima[i], valid);
        if (!valid) return;  // wait until the field holds a number in range
    }
    const Window* source = WS().Focus();
    bool fromHsv = source == numbers_[kHue] || source == numbers_[kSaturation] || source == numbers_[kValue];
    if (fromHsv) {
        SetHsv({double(values[kHue]), values[kSaturation] / 100.0, values[kValue] / 100.0}, source);
        return;
    }
    Rgb rgb{uint8_t(values[kRed]), uint8_t(values[kGreen]), uint8_t(values[kBlue])};
    Hsv hsv = RgbToHsv(rgb);
    // A grey has no hue of its own: keep the one shown.
    if (hsv.s <= 0) hsv.h = hsv_.h;
    SetColor(hsv, rgb, source);
}

void ColorDialogWindow::OnHexChanged() {
    if (updating_) return;
    std::optional<Rgb> rgb = ParseHexColor(hex_->Text());
    if (!rgb) return;
    SetColor(RgbToHsv(*rgb), *rgb, hex_);
}

void ColorDialogWindow::OnPicked(Hsv hsv) { SetHsv(hsv, nullptr); }

void ColorDialogWindow::OnCustomPressed(int index) {
    custom_[size_t(customSlot_)]->SetMarked(false);
    customSlot_ = index;
    custom_[size_t(index)]->SetMarked(true);
    Rgb rgb = CustomColors()[size_t(index)];
    SetColor(RgbToHsv(rgb), rgb, nullptr);
}

void ColorDialogWindow::OnAddCustom() {
    CustomColors()[size_t(customSlot_)] = rgb_;
    custom_[size_t(customSlot_)]->SetColor(rgb_);
    custom_[size_t(customSlot_)]->SetMarked(false);
    customSlot_ = (customSlot_ + 1) % 16;
    custom_[size_t(customSlot_)]->SetMarked(true);
}

bool OsChooseColor(uint8_t rgb[3]) {
    auto* dialog = new ColorDialogWindow({rgb[0], rgb[1], rgb[2]});
    bool accepted = dialog->Run();
    if (accepted) {
        Rgb chosen = dialog->Color();
        rgb[0] = chosen.r, rgb[1] = chosen.g, rgb[2] = chosen.b;
    }
    dialog->Close();
    return accepted;
}

void InstallChoosers() { ColorButton::SetColorChooser(&OsChooseColor); }

}  // namespace tamber::ui::choosers
