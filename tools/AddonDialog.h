#pragma once
// The add-on builder's windows: the "Build Add-on plugin" dialog (`AddonPopup`),
// the run that asks for the fields, builds and reports, and the two root-menu
// commands.
#include <vector>

#include "tags/AddonBuilder.h"
#include "ui/widgets/DialogWindow.h"

namespace tamber::tags { class TagRecord; }
namespace tamber::ui::widgets { class TextBox; }

namespace tamber::tools {
using namespace tamber::tags;
using namespace tamber::ui;
using namespace tamber::ui::widgets;

class AddonPopup : public DialogWindow {
public:
    static constexpr int kWidth = 448;
    static constexpr int kTextLines = 11;
    static constexpr int kExtraHeight = 20;
    static constexpr int kRowGap = 6;

    AddonPopup();

    const char* GetClassName() const override { return "AddonPopup"; }

    // Centres the dialog, focuses the name field and runs it modally; true for OK.
    bool Run();
    AddonFields Fields() const;
    TextBox* NameField() const { return name_; }
    TextBox* UrlField() const { return url_; }
    TextBox* PriorityField() const { return priority_; }
    TextBox* HelpText() const { return help_; }

    void OnResize() override;

private:
    TextBox* AddRow(const char* label, int mode);

    std::vector<TextBox*> labels_;
    TextBox* name_;
    TextBox* url_;
    TextBox* priority_;
    TextBox* help_;
};

// Shows one of the builder's messages in a modal box.
void ShowAddonMessage(const AddonMessage& message);
// Asks for the name, url and priority, builds the add-on from the tags and reports
// how it went. True when an add-on was written.
bool RunAddonDialog(const std::vector<TagRecord*>& tags);

// Root-menu commands "Build Regular Add-on" and "Build Dtex Add-on".
void BuildRegularAddon();
void BuildDtexAddon();

}  // namespace tamber::tools
