#pragma once
// One entry of a menu: the label is its window name, the command id the value it
// reports. An item that holds items of its own opens them as a submenu beside it.
// A negative command id (the separator's is -1) is never chosen.
#include <cstdint>

#include "ui/Window.h"

namespace tamber::ui::widgets {

class Menu;

class MenuItem : public Window {
public:
    static constexpr const char* kSeparatorLabel = "<---separator--->";

    // Created by AddMenuItem; style 0x8, plus 0x2 when enabled.
    MenuItem(Menu* menu, const char* label, int32_t commandId, bool enabled);

    const char* GetClassName() const override { return "MenuItem"; }

    int32_t Id() const { return int32_t(GetCommandId()); }
    bool IsSeparator() const { return Id() < 0; }
    bool CanChoose() const { return IsEnabled() && Id() >= 0; }
    // The menu holding this item.
    Menu* OwnerMenu() const;
    // The pop-up holding this item's own items, or null.
    Menu* Submenu() const { return submenu_; }
    // Creates the submenu on first use.
    Menu* EnsureSubmenu();
    int LabelWidth() const;

    void Draw() override;
    void OnMouseButton(Event& event) override;
    void OnMouseMove(Event& event) override;
    void OnMouseLeave(uint32_t newHit, uint32_t oldHit) override;

private:
    Menu* submenu_ = nullptr;
};

}  // namespace tamber::ui::widgets
