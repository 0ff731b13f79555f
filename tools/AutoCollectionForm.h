#pragma once
// The form both collection builder dialogs share: labelled rows of fields (a
// folder field has a "..." button that opens the folder chooser), a row of two
// small fields, check boxes below, and the control values kept in the
// preferences under "<prefix>.<key>".
#include <string>
#include <vector>

#include "ui/widgets/DialogWindow.h"

namespace tamber::ui::widgets {
class Button;
class CheckBox;
class TextBox;
}  // namespace tamber::ui::widgets

namespace tamber::tools {
using namespace tamber::ui;
using namespace tamber::ui::widgets;

class AutoCollectionForm : public DialogWindow {
public:
    static constexpr int kWidth = 420;
    static constexpr int kRowGap = 6;
    static constexpr int kSmallFieldWidth = 72;

    AutoCollectionForm(const char* title, const char* prefsPrefix);
    const char* GetClassName() const override { return "AutoCollectionForm"; }
    void OnResize() override;

    // Centres the dialog, focuses the first field and runs it modally; true for OK.
    bool Run();

protected:
    TextBox* AddTextRow(const char* label, const char* key, int mode, int maxLength);
    TextBox* AddFolderRow(const char* label, const char* key, const char* chooserTitle);
    // A row of two small fields, each with its own label: "Regpoint  X: [ ]  Y: [ ]".
    void AddPairRow(const char* label, const char* firstLabel, const char* firstKey, TextBox*& first,
                    const char* secondLabel, const char* secondKey, TextBox*& second);
    // A row whose field the subclass made (a child of this dialog).
    void AddWindowRow(const char* label, Window* field);
    CheckBox* AddCheck(const char* label, const char* key);
    // Links the tab order and sizes the dialog; called once after the rows.
    void FinishRows();

    // Control values: text boxes as strings, check boxes as integers.
    void LoadValues();
    void SaveValues() const;
    // Shows the message in an "Error" box; returns false for OnOK.
    bool Refuse(const std::string& message);

private:
    struct Row {
        TextBox* label;
        std::vector<Window*> fields;    // one, or label, field, label, field for a pair
        Button* browse = nullptr;
    };
    struct Stored {
        std::string key;
        TextBox* text = nullptr;
        CheckBox* check = nullptr;
    };
    TextBox* MakeLabel(const char* text);
    // The "..." button with this id: the folder chooser for its field.
    void Browse(int id);

    std::string prefix_;
    std::vector<Row> rows_;
    std::vector<CheckBox*> checks_;
    std::vector<Stored> stored_;
    std::vector<std::pair<TextBox*, std::string>> browsers_;  // field and chooser title per "..." button
};

}  // namespace tamber::tools
