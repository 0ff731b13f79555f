#pragma once
// A window that shows every widget of the toolkit in use, with buttons that open
// each chooser and a message box and write what they return into a text box.
#include <string>
#include <vector>

#include "ui/Window.h"

namespace tamber::ui::widgets { class ColorButton; }
namespace tamber::ui::widgets { class MenuItem; }
namespace tamber::ui::widgets { class TextBox; }

namespace tamber::ui::choosers {
using namespace tamber::ui::widgets;

class WidgetGallery : public Window {
public:
    // The menu commands and chooser buttons.
    enum Command : int {
        kOpenFile = 1,
        kOpenFiles,
        kSaveFile,
        kChooseFolder,
        kChooseColor,
        kMessageBox,
        kCloseGallery,
    };

    WidgetGallery();
    const char* GetClassName() const override { return "WidgetGallery"; }

    // The gallery of the run, made on first use when create is set.
    static WidgetGallery* Get(bool create);

    TextBox* Results() const { return results_; }
    void RunCommand(int command);

    void OnResize() override;
    void OnClose() override;

private:
    void BuildControls();
    void BuildPages();
    void Report(const std::string& line);
    void OnMenuChosen(MenuItem* item);

    Window* menuBar_ = nullptr;
    Window* tabs_ = nullptr;
    ColorButton* colorButton_ = nullptr;
    std::vector<Window*> chooserButtons_;
    int leftBottom_ = 0;
    TextBox* results_ = nullptr;
};

// Shows the gallery, making it on first use.
void ShowWidgetGallery();

}  // namespace tamber::ui::choosers
