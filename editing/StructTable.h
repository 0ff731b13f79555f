#pragma once
// The layout container of the structure editor's panels: rows of cells (child
// windows) in columns as wide as their widest cell, optionally framed with a
// caption, stretched to the column width or aligned right or centred.
#include <string>
#include <vector>

#include "ui/Window.h"

namespace tamber::editing {
using namespace tamber::ui;

class Table : public Window {
public:
    enum Align : int { kAlignLeft = 0, kAlignRight = 1, kAlignCenter = 2 };
    static constexpr int kRowGap = 1;
    static constexpr int kColumnGap = 4;

    // Static text: as wide as the text plus one pixel, 21 high.
    class Label : public Window {
    public:
        static constexpr int kHeight = 21;
        Label(Window* parent, const std::string& text);
        const char* GetClassName() const override { return "Table::Label"; }
        const std::string& Text() const { return text_; }
        void Draw() override;

    private:
        std::string text_;
    };

    explicit Table(Window* parent);
    const char* GetClassName() const override { return "Table"; }

    void SetFramed(const std::string& caption) { framed_ = true, caption_ = caption; }
    void SetStretch(bool stretch) { stretch_ = stretch; }
    void SetAlign(int align) { align_ = align; }
    bool IsFramed() const { return framed_; }
    const std::string& Caption() const { return caption_; }

    // Starts a new row; cells go into the last row.
    void AddRow() { rows_.emplace_back(); }
    void AddCell(Window* cell);
    const std::vector<std::vector<Window*>>& Rows() const { return rows_; }

    // The natural column widths (largest cell plus the gap).
    std::vector<int> MeasureColumns() const;
    // Columns at least this wide (vertical layouts align nested tables with it).
    void SetMinimumColumns(const std::vector<int>& widths) { minimumColumns_ = widths; }
    // Places the cells and sizes the table.
    void Layout();

    void Draw() override;

private:
    Point ContentOrigin() const;

    bool framed_ = false;
    std::string caption_;
    bool stretch_ = false;
    int align_ = kAlignLeft;
    std::vector<std::vector<Window*>> rows_;
    std::vector<int> minimumColumns_;
};

}  // namespace tamber::editing
