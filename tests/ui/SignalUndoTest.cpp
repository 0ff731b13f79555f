#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "ui/Signal.h"
#include "ui/UndoHistory.h"

using namespace tamber::ui;

namespace {

struct Receiver : has_slots<void> {
    int calls = 0;
    int last = 0;
    Signal0* disconnectFrom = nullptr;
    void Ping() { ++calls; }
    void Take(int value) {
        ++calls;
        last = value;
    }
    void PingAndLeave() {
        ++calls;
        if (disconnectFrom) disconnectFrom->Disconnect(this);
    }
};

struct Recording : UndoableAction {
    Recording(std::string* log, char name, bool succeed = true) : log(log), name(name), succeed(succeed) {}
    ~Recording() override { *log += std::string("~") + name; }
    bool Do(void*) override {
        *log += std::string("+") + name;
        return succeed;
    }
    void Undo(void*) override { *log += std::string("-") + name; }
    std::string* log;
    char name;
    bool succeed;
};

}  // namespace

TEST(Signals, ConnectionsFollowTheLifetimesOfBothSides) {
    Signal1<int> valueChanged;
    Receiver a;
    {
        Receiver b;
        valueChanged.Connect(&a, &Receiver::Take);
        valueChanged.Connect(&a, &Receiver::Take);  // twice: called twice
        valueChanged.Connect(&b, &Receiver::Take);
        valueChanged.Emit(7);
        EXPECT_EQ(a.calls, 2);
        EXPECT_EQ(b.calls, 1);
        EXPECT_EQ(b.last, 7);
    }
    // b's destruction removed its connection; emitting must not touch it.
    valueChanged.Emit(8);
    EXPECT_EQ(a.calls, 4);
    EXPECT_EQ(valueChanged.ConnectionCount(), 2u);
    valueChanged.Disconnect(&a);
    valueChanged.Emit(9);
    EXPECT_EQ(a.calls, 4);

    // A receiver outliving its signal forgets it (no dangling disconnect later).
    auto receiver = std::make_unique<Receiver>();
    {
        Signal0 clicked;
        clicked.Connect(receiver.get(), &Receiver::Ping);
    }
    receiver.reset();

    // A slot may disconnect itself, or be disconnected, during an emission.
    Signal0 clicked;
    Receiver leaver, stayer;
    leaver.disconnectFrom = &clicked;
    clicked.Connect(&leaver, &Receiver::PingAndLeave);
    clicked.Connect(&stayer, &Receiver::Ping);
    clicked.Emit();
    clicked.Emit();
    EXPECT_EQ(leaver.calls, 1);
    EXPECT_EQ(stayer.calls, 2);
}

TEST(UndoHistory, UndoRedoAndBranchDeletion) {
    std::string log;
    UndoHistory history;
    EXPECT_FALSE(history.Undo());  // only the sentinel
    EXPECT_FALSE(history.Redo());

    EXPECT_TRUE(history.AddAction(std::make_unique<Recording>(&log, 'a'), false));
    EXPECT_TRUE(history.AddAction(std::make_unique<Recording>(&log, 'b'), true));
    EXPECT_EQ(log, "+a");
    EXPECT_TRUE(history.Undo());
    EXPECT_EQ(log, "+a-b");
    // A new action deletes the undone one; nothing is left to redo.
    EXPECT_TRUE(history.AddAction(std::make_unique<Recording>(&log, 'c'), false));
    EXPECT_EQ(log, "+a-b+c~b");
    EXPECT_FALSE(history.Redo());
    EXPECT_EQ(history.Count(), 3u);

    EXPECT_TRUE(history.Undo());
    EXPECT_TRUE(history.Undo());
    EXPECT_FALSE(history.Undo());
    EXPECT_TRUE(history.Redo());
    EXPECT_EQ(log, "+a-b+c~b-c-a+a");

    // An action that cannot be done is deleted and changes nothing.
    log.clear();
    EXPECT_FALSE(history.AddAction(std::make_unique<Recording>(&log, 'x', false), false));
    EXPECT_EQ(log, "+x~x");
    EXPECT_TRUE(history.Redo());  // c is still there to redo

    history.Clear();
    EXPECT_FALSE(history.Undo());
    EXPECT_FALSE(history.Redo());
    EXPECT_EQ(history.Count(), 1u);
    EXPECT_TRUE(history.AddAction(std::make_unique<Recording>(&log, 'd'), false));
    EXPECT_TRUE(history.Undo());
}
