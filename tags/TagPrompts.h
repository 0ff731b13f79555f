#pragma once
// Questions the tag operations put to the user. The window program answers with
// message boxes; tests and batch runs answer from a script.
#include <deque>
#include <string>
#include <vector>

namespace tamber::tags {

class TagPrompts {
public:
    virtual ~TagPrompts() = default;
    // Shows a question with its buttons; returns the index of the chosen button
    // (0 for the first).
    virtual int Ask(const std::string& title, const std::string& text, const std::vector<std::string>& buttons) = 0;
};

// Answers from a queue of button indices; with the queue empty, the last button
// (the refusing one). Records every question asked.
class ScriptedTagPrompts : public TagPrompts {
public:
    struct Question {
        std::string title;
        std::string text;
        std::vector<std::string> buttons;
    };
    void Push(int answer) { answers_.push_back(answer); }
    int Ask(const std::string& title, const std::string& text, const std::vector<std::string>& buttons) override {
        asked.push_back({title, text, buttons});
        if (answers_.empty()) return static_cast<int>(buttons.size()) - 1;
        int answer = answers_.front();
        answers_.pop_front();
        return answer;
    }
    std::vector<Question> asked;

private:
    std::deque<int> answers_;
};

}  // namespace tamber::tags
