#pragma once
// One binding between a control of a structure editor's panel and one element of a
// member (or one bit of it). The binding makes the control, fills it from the
// record, and writes every change back after telling the editor.
#include <cstdint>
#include <string>
#include <vector>

#include "editing/definitions/StructValues.h"
#include "ui/Signal.h"

class TiXmlElement;

namespace tamber::ui { class Window; }
namespace tamber::collections { class Collection; }

namespace tamber::editing {
using namespace tamber::definitions;
using namespace tamber::ui;

class StructEditor;

class MemberChangeListener : public has_slots<void> {
public:
    enum class Control { None, Decimal, Integer, Bit, Enum, Tag, Sequence, SubEditor, Array };

    // `view` holds `member` (this editor's view or an enclosing one).
    MemberChangeListener(StructEditor* editor, const StructView* view, const StructMember* member);

    // Makes the control for an `item` element inside parent; none for members
    // without a control (padding, colours).
    Window* CreateControl(const TiXmlElement& item, Window* parent);
    // Shows the record's current value.
    void Refresh();
    // A sequence picker following a changed collection: no sequence, refilled.
    void ResetSequence();

    const StructMember* Member() const { return member_; }
    const StructMember* FollowedTag() const { return followedTag_; }
    Control Kind() const { return kind_; }
    Window* ControlWindow() const { return control_; }
    int Index() const { return index_; }

private:
    void OnTextChanged();
    void OnToggled();
    void OnChosen(int item);
    void OnOpen();
    void FillTagList();
    void FillSequenceList();
    // The collection chosen by the followed tag member, loaded through the cache.
    collections::Collection* FollowedCollection() const;

    StructEditor* editor_;
    const StructView* view_;
    const StructMember* member_;
    const StructView* followedView_ = nullptr;
    const StructMember* followedTag_ = nullptr;
    Control kind_ = Control::None;
    Window* control_ = nullptr;
    int index_ = 0;
    int bit_ = -1;
    std::string text_;
    std::vector<int64_t> values_;  // the value of each drop-down entry
    bool refreshing_ = false;
};

// Parses the whole text as a number; false for text such as "", "-" or "1-".
bool ParseDecimalText(const std::string& text, double& value);
bool ParseIntegerText(const std::string& text, int64_t& value);
// The text a decimal box shows: the rounded number without trailing zeros.
std::string FormatDisplayNumber(double value, int digits);

}  // namespace tamber::editing
