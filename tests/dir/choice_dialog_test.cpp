#include <gtest/gtest.h>

#include "dialog_fixture.h"
#include "dir/choice_dialog.h"

namespace kavlo::test {

namespace {

struct Seen {
    WindowSpec window;
    Rect message;
    std::string question;
    std::vector<Rect> buttons;
    std::vector<std::string> captions;
};

Seen Look(DialogFixture& ui, DialogForm& dialog) {
    Seen seen;
    seen.window = *ui.backend.WindowInfo(dialog.Window());
    seen.message = dialog.Skin().Find<TLabel>("Message")->BoundsRect();
    seen.question = dialog.Skin().Find<TLabel>("Message")->Caption();
    for (int i = 1; TButton* button = dialog.Skin().Find<TButton>("Choice" + std::to_string(i)); ++i) {
        seen.buttons.push_back(button->BoundsRect());
        seen.captions.push_back(button->Caption());
    }
    return seen;
}

} // namespace

TEST(ChoiceDialog, MeasuresInDialogUnitsCentresItsButtonsAndAnswersElevenPlusTheIndex) {
    DialogFixture ui;
    const DialogUnits units = MeasureDialogUnits(ui.fonts, ChoiceDialogFont());
    ASSERT_GT(units.char_width, 3);
    Seen seen;
    ui.WhenShown([&](DialogForm& dialog) {
        seen = Look(ui, dialog);
        ui.Click(dialog, *dialog.Skin().Find<TButton>("Choice3"));
    });
    const int result = ShowChoiceDialog(ui.Services(), "Kavlo CD", "Which?", {"Normal", "3D", "Software"});
    EXPECT_EQ(result, 13);
    EXPECT_EQ(seen.window.title, "Kavlo CD");
    EXPECT_EQ(seen.question, "Which?");
    EXPECT_EQ(seen.captions, (std::vector<std::string>{"Normal", "3D", "Software"}));

    // Three buttons are wider than the one-word question: they set the width.
    const int bw = 50 * units.char_width / 4;
    const int row = 3 * bw + 2 * (4 * units.char_width / 4);
    EXPECT_EQ(seen.window.client_width, 2 * (8 * units.char_width / 4) + row);
    EXPECT_EQ(seen.window.client_height, 2 * (8 * units.char_height / 8) + seen.message.Height() +
                                             10 * units.char_height / 8 + 14 * units.char_height / 8);
    EXPECT_EQ(seen.message.left, 8 * units.char_width / 4);
    EXPECT_EQ(seen.message.top, 8 * units.char_height / 8);
    ASSERT_EQ(seen.buttons.size(), 3u);
    EXPECT_EQ(seen.buttons[0].left, (seen.window.client_width - row) / 2);
    EXPECT_EQ(seen.buttons[0].top, seen.message.bottom + 10 * units.char_height / 8);
    for (const Rect& button : seen.buttons) {
        EXPECT_EQ(button.Width(), bw);
        EXPECT_EQ(button.Height(), 14 * units.char_height / 8);
    }
    EXPECT_EQ(seen.buttons[1].left - seen.buttons[0].right, units.char_width);
    // Centred on the 1024 x 768 display.
    EXPECT_EQ(seen.window.left, (1024 - seen.window.client_width) / 2);
    EXPECT_EQ(seen.window.top, (768 - seen.window.client_height) / 2);
    // The window is gone with the dialog.
    EXPECT_TRUE(ui.backend.Windows().empty());
}

TEST(ChoiceDialog, ALongQuestionWrapsWithinHalfTheScreenAndSetsTheWidth) {
    DialogFixture ui;
    std::string question;
    for (int i = 0; i < 40; ++i) {
        question += "version ";
    }
    Seen seen;
    ui.WhenShown([&](DialogForm& dialog) {
        seen = Look(ui, dialog);
        ui.Key(dialog, vk::Tab);
        ui.Key(dialog, vk::Return);
    });
    // Tab moves from the first button to the second; Enter presses the focused button.
    EXPECT_EQ(ShowChoiceDialog(ui.Services(), "T", question, {"A", "B"}), 12);
    EXPECT_LE(seen.message.Width(), 512);
    EXPECT_GT(seen.message.Width(), 400);
    EXPECT_GE(seen.message.Height(), 3 * TextExtent(ui.fonts, ChoiceDialogFont(), "A").height);
    EXPECT_EQ(seen.window.client_width, 2 * seen.message.left + seen.message.Width());
}

TEST(ChoiceDialog, TheCloseBoxAnswersCancel) {
    DialogFixture ui;
    ui.WhenShown([&](DialogForm& dialog) { ui.backend.QueueEvent({dialog.Window(), CloseEvent{}}); });
    EXPECT_EQ(ShowChoiceDialog(ui.Services(), "T", "Which?", {"A", "B"}), mrCancel);
}

} // namespace kavlo::test
