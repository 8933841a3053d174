#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "main_f/dates.h"
#include "main_f/texts.h"
#include "platform/codepage.h"
#include "tool/tool_commands.h"
#include "tool/tool_disc.h"

namespace kavlo::tool {

namespace {

struct TextOptions {
    DiscOptions disc;
    std::optional<int> language; // --lang: overrides the disc's language
    int number = 0;
    std::string argument; // UTF-8
    std::string code;     // UTF-8
};

int LanguageOf(ToolSession& session, const TextOptions& options) {
    return options.language ? *options.language : session.form().catalogue.header.Version;
}

std::string ScreenText(std::string_view bytes, int language) {
    return ToUtf8(bytes, DiscCodePage(language));
}

MessageTexts TextsOf(ToolSession& session, int language) {
    return MessageTexts(language, session.form().catalogue.StringsFile.get());
}

void RunText(const TextOptions& options) {
    ToolSession session(options.disc);
    const int language = LanguageOf(session, options);
    std::cout << ScreenText(TextsOf(session, language).LoadString(options.number), language) << '\n';
}

void RunSpecial(const TextOptions& options) {
    ToolSession session(options.disc);
    const int language = LanguageOf(session, options);
    const MessageTexts texts = TextsOf(session, language);
    std::cout << ScreenText(texts.LoadSpecial(options.number, FromUtf8(options.argument)), language) << '\n';
}

void RunDate(const TextOptions& options) {
    ToolSession session(options.disc);
    const int language = LanguageOf(session, options);
    const MessageTexts texts = TextsOf(session, language);
    const std::size_t boxes_before = session.boxes().Shown().size();
    const std::string date =
        CreateDate(FromUtf8(options.code), DateContext{texts, session.form().catalogue.header.Debug,
                                                       session.boxes(), session.form().ApplicationTitle});
    // The debug box is part of what the menu does with the code: show it as the session shows its own.
    for (std::size_t i = boxes_before; i < session.boxes().Shown().size(); ++i) {
        std::cerr << "[message box] " << ToUtf8(session.boxes().Shown()[i].text) << '\n';
    }
    std::cout << ScreenText(date, language) << '\n';
}

CLI::App* AddSubcommand(CLI::App& app, const char* name, const char* description, TextOptions& options) {
    CLI::App* cmd = app.add_subcommand(name, description);
    AddDiscOptions(cmd, options.disc);
    cmd->add_option("--lang", options.language, "Language code 0-6 instead of the disc's")
        ->check(CLI::Range(0, 6));
    return cmd;
}

} // namespace

void AddTextCommands(CLI::App& app) {
    auto options = std::make_shared<TextOptions>();

    CLI::App* text =
        AddSubcommand(app, "text", "Print message N (language * 100 + index) as the menu shows it", *options);
    text->add_option("number", options->number, "Message number")->required();
    text->callback([options] { RunText(*options); });

    CLI::App* special =
        AddSubcommand(app, "special", "Print message N with ARG in place of its first \"%1\"", *options);
    special->add_option("number", options->number, "Message number")->required();
    special->add_option("argument", options->argument, "Text put in place of \"%1\" (UTF-8)")->required();
    special->callback([options] { RunSpecial(*options); });

    CLI::App* date =
        AddSubcommand(app, "date", "Print the release-date text of a catalogue date code", *options);
    date->add_option("code", options->code, "Date code such as 0504, 2Q04, 00, ? or NEXT (UTF-8)")
        ->required();
    date->callback([options] { RunDate(*options); });
}

} // namespace kavlo::tool
