#include "dialogs/ControlTypes.h"

#include <cstdio>

#include "tags/FourCC.h"

namespace tamber::dialogs {
using namespace tamber::tags;

namespace {

const ControlType kTypes[kControlTypeCount] = {
    {FourCC("bann"), "Banner"},
    {FourCC("bitm"), "Bitmap"},
    {FourCC("butt"), "Button"},
    {FourCC("edit"), "Editable Text"},
    {FourCC("lste"), "Entrypoint List"},
    {FourCC("cgrf"), "Carnage Graph"},
    {FourCC("ched"), "Carnage Header"},
    {FourCC("cstt"), "Carnage Stats"},
    {FourCC("chat"), "Chat List"},
    {FourCC("chek"), "Checkbox"},
    {FourCC("colr"), "Color Picker"},
    {FourCC("numb"), "Double Arrow"},
    {FourCC("game"), "Game Graphic"},
    {FourCC("gaml"), "Game List"},
    {FourCC("ipop"), "Icon Popup"},
    {FourCC("map_"), "Map Graphic"},
    {FourCC("lstm"), "Map List"},
    {FourCC("popm"), "Map Popup"},
    {FourCC("STAT"), "Monster Status"},
    {FourCC("pass"), "Password Text"},
    {FourCC("plli"), "Player List"},
    {FourCC("pbli"), "Plyer List (Buddy)"},
    {FourCC("poli"), "Player List (Order)"},
    {FourCC("lstp"), "Plugin List"},
    {FourCC("popu"), "Popup"},
    {FourCC("repo"), "Postgame Report"},
    {FourCC("prog"), "Progress Bar"},
    {FourCC("prol"), "Prologue Control"},
    {FourCC("radi"), "Radio Button"},
    {FourCC("room"), "Room Graphic"},
    {FourCC("sacc"), "Statistics Bar"},
    {FourCC("slid"), "Slider Control"},
    {FourCC("snap"), "Snapshot Image"},
    {FourCC("stat"), "Static Text"},
    {FourCC("slst"), "String List"},
    {FourCC("tabc"), "Tab Control"},
    {FourCC("lstg"), "Tag List"},
};

}  // namespace

const ControlType* ControlTypeTable() { return kTypes; }

const char* FindControlTypeName(uint32_t code) {
    for (const ControlType& type : kTypes) {
        if (type.code == code) return type.name;
    }
    return nullptr;
}

std::string ControlTypeText(uint32_t code) {
    if (const char* name = FindControlTypeName(code)) return name;
    const char characters[4] = {char(code >> 24), char(code >> 16), char(code >> 8), char(code)};
    char text[32];
    std::snprintf(text, sizeof text, "Unknown(%.4s)", characters);
    return text;
}

}  // namespace tamber::dialogs
