#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "skin/formats/form_stream.h"

namespace kavlo {
namespace {

std::string Bytes(std::initializer_list<int> values) {
    std::string bytes;
    for (int v : values) {
        bytes += static_cast<char>(v);
    }
    return bytes;
}

std::string Short(const std::string& text) {
    return static_cast<char>(text.size()) + text;
}

// A form whose only property `P` has the value given as its stored bytes (type byte included).
std::string FormWithValue(const std::string& value) {
    return "TPF0" + Short("TForm1") + Short("Form1") + Short("P") + value + Bytes({0, 0});
}

TEST(FormStream, ReadsAHandWrittenFormAndWritesTheSameBytes) {
    const std::string bytes = "TPF0" + Short("TForm1") + Short("Form1") +      //
                              Short("Left") + Bytes({3, 0x2C, 0x01}) +         // vaInt16 300
                              Short("Caption") + Bytes({6}) + Short("Hello") + // vaString
                              Short("Font.Name") + Bytes({6}) + Short("Tahoma") + Bytes({0}) +
                              Short("TDIBContainer") + Short("Container") + Bytes({0}) + //
                              Short("TDIBImage") + Short("DIBBackImage") + Short("Visible") + Bytes({8, 0}) +
                              Bytes({0}) + // DIBBackImage has no children
                              Bytes({0}) + // end of the container's children
                              Bytes({0xF3}) + Bytes({2, 5}) + Short("TTimer") + Short("Timer1") +
                              Bytes({0, 0}) + Bytes({0}); // end of the form's children
    const FormReadResult read = ReadFormStream(bytes);
    ASSERT_TRUE(read.ok()) << read.error;
    const FormObject& form = read.root;
    EXPECT_EQ(form.class_name, "TForm1");
    EXPECT_EQ(form.name, "Form1");
    EXPECT_EQ(FormInt(form.properties, "Left", 0), 300);
    EXPECT_EQ(FormText(form.properties, "Caption", ""), "Hello");
    EXPECT_EQ(FormText(form.properties, "font.name", ""), "Tahoma");
    ASSERT_EQ(form.children.size(), 2u);
    const FormObject* image = FindFormObject(form, "dibbackimage");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->class_name, "TDIBImage");
    EXPECT_FALSE(FormBool(image->properties, "Visible", true));
    const FormObject& timer = form.children[1];
    EXPECT_EQ(timer.flags, ffInherited | ffChildPos);
    EXPECT_EQ(timer.child_pos.value, 5);

    const FormWriteResult written = WriteFormStream(form);
    ASSERT_TRUE(written.ok()) << written.error;
    EXPECT_EQ(written.bytes, bytes);
}

TEST(FormStream, EveryValueTypeReadsAndWritesBackUnchanged) {
    struct Case {
        const char* what;
        std::string stored;
        FormValue expected;
    };
    const Case cases[] = {
        {"vaNull", Bytes({0}), {FormNull{}}},
        {"vaNil", Bytes({13}), {FormNil{}}},
        {"vaFalse", Bytes({8}), {false}},
        {"vaTrue", Bytes({9}), {true}},
        {"vaInt8", Bytes({2, 0xFE}), {FormInteger{-2, FormValueType::vaInt8}}},
        {"vaInt16", Bytes({3, 0x00, 0x80}), {FormInteger{-32768, FormValueType::vaInt16}}},
        {"vaInt32 holding a small value", Bytes({4, 7, 0, 0, 0}), {FormInteger{7, FormValueType::vaInt32}}},
        {"vaInt64",
         Bytes({19, 0, 0, 0, 0, 1, 0, 0, 0}),
         {FormInteger{int64_t{1} << 32, FormValueType::vaInt64}}},
        {"vaExtended 100", Bytes({5, 0, 0, 0, 0, 0, 0, 0, 0xC8, 0x05, 0x40}), FormValue::Extended(100)},
        {"vaSingle 1.5", Bytes({15, 0, 0, 0xC0, 0x3F}), {FormSingle{0x3FC00000}}},
        {"vaCurrency 1.2345", Bytes({16, 0x39, 0x30, 0, 0, 0, 0, 0, 0}), {FormCurrency{12345}}},
        {"vaDate", Bytes({17, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F}), {FormDate{0x3FF0000000000000}}},
        {"vaString", Bytes({6}) + Short("\x9Eluv"), FormValue::Str("\x9Eluv")},
        {"vaLString", Bytes({12, 2, 0, 0, 0}) + "ab", {FormString{"ab", FormValueType::vaLString}}},
        {"vaUTF8String",
         Bytes({20, 2, 0, 0, 0}) + "\xC5\xBE",
         {FormString{"\xC5\xBE", FormValueType::vaUTF8String}}},
        {"vaWString", Bytes({18, 2, 0, 0, 0, 'O', 0, 0x7E, 0x01}), {FormWString{u"O\u017E"}}},
        {"vaIdent", Bytes({7}) + Short("tmFixed"), FormValue::Ident("tmFixed")},
        {"vaBinary", Bytes({10, 3, 0, 0, 0, 1, 2, 3}), FormValue::Binary(Bytes({1, 2, 3}))},
        {"vaSet", Bytes({11}) + Short("akLeft") + Short("akTop") + Bytes({0}),
         FormValue::Set({"akLeft", "akTop"})},
        {"empty vaSet", Bytes({11, 0}), FormValue::Set({})},
        {"vaList", Bytes({1, 2, 1, 9, 0}), {FormList{{FormValue::Int(1), FormValue::Bool(true)}}}},
        {"vaCollection, items with and without order",
         Bytes({14, 2, 4, 1}) + Short("Tag") + Bytes({2, 1, 0}) + Bytes({1, 0}) + Bytes({0}),
         {FormCollection{{FormCollectionItem{true, {4, FormValueType::vaInt8}, {{"Tag", FormValue::Int(1)}}},
                          FormCollectionItem{false, {}, {}}}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string bytes = FormWithValue(c.stored);
        const FormReadResult read = ReadFormStream(bytes);
        ASSERT_TRUE(read.ok()) << read.error;
        ASSERT_EQ(read.root.properties.size(), 1u);
        EXPECT_EQ(read.root.properties[0].value, c.expected);
        EXPECT_EQ(read.root.properties[0].value.Type(), static_cast<FormValueType>(c.stored[0]));
        EXPECT_EQ(WriteFormStream(read.root).bytes, bytes);
    }
}

TEST(FormStream, WriterPicksTheNarrowestIntegerAndAShortStringWhenItFits) {
    struct Case {
        int64_t value;
        FormValueType type;
    };
    const Case cases[] = {{0, FormValueType::vaInt8},
                          {-128, FormValueType::vaInt8},
                          {128, FormValueType::vaInt16},
                          {-32769, FormValueType::vaInt32},
                          {2830895, FormValueType::vaInt32},
                          {0xFFFFFF, FormValueType::vaInt32},
                          {INT64_C(1) << 31, FormValueType::vaInt64}};
    for (const Case& c : cases) {
        EXPECT_EQ(FormValue::Int(c.value).Type(), c.type) << c.value;
    }
    EXPECT_EQ(FormValue::Str(std::string(255, 'a')).Type(), FormValueType::vaString);
    EXPECT_EQ(FormValue::Str(std::string(256, 'a')).Type(), FormValueType::vaLString);
}

TEST(Extended80, ConvertsDoublesExactly) {
    struct Case {
        double value;
        std::string bytes;
    };
    const Case cases[] = {
        {0.0, Bytes({0, 0, 0, 0, 0, 0, 0, 0, 0, 0})},
        {-0.0, Bytes({0, 0, 0, 0, 0, 0, 0, 0, 0, 0x80})},
        {1.0, Bytes({0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F})},
        {-1.0, Bytes({0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0xBF})},
        {100.0, Bytes({0, 0, 0, 0, 0, 0, 0, 0xC8, 0x05, 0x40})},
        {120.0, Bytes({0, 0, 0, 0, 0, 0, 0, 0xF0, 0x05, 0x40})},
        {0.1, Bytes({0x00, 0xD0, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xFB, 0x3F})},
        {std::numeric_limits<double>::infinity(), Bytes({0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x7F})},
        // The smallest subnormal double, 2^-1074, is a normal extended.
        {std::numeric_limits<double>::denorm_min(), Bytes({0, 0, 0, 0, 0, 0, 0, 0x80, 0xCD, 0x3B})},
    };
    for (const Case& c : cases) {
        const Extended80 e = Extended80::FromDouble(c.value);
        EXPECT_EQ(std::string(e.bytes.begin(), e.bytes.end()), c.bytes) << c.value;
        EXPECT_EQ(e.ToDouble(), c.value);
        EXPECT_EQ(std::signbit(e.ToDouble()), std::signbit(c.value));
    }
    const double samples[] = {std::numeric_limits<double>::max(), std::numeric_limits<double>::min(), 1.0 / 3,
                              -6.02214076e23, 2.2250738585072e-310};
    for (double value : samples) {
        EXPECT_EQ(Extended80::FromDouble(value).ToDouble(), value);
    }
    EXPECT_TRUE(std::isnan(Extended80::FromDouble(std::nan("")).ToDouble()));
}

TEST(Extended80, ValuesBeyondADoubleRoundOrOverflow) {
    // 1 + 2^-63 rounds to 1; 2^16000 is too large for a double.
    Extended80 e = Extended80::FromDouble(1.0);
    e.bytes[0] = 1;
    EXPECT_EQ(e.ToDouble(), 1.0);
    const unsigned exponent = 16383 + 16000;
    e.bytes[8] = static_cast<uint8_t>(exponent & 0xFF);
    e.bytes[9] = static_cast<uint8_t>(exponent >> 8);
    EXPECT_EQ(e.ToDouble(), std::numeric_limits<double>::infinity());
}

TEST(FormStream, DamagedStreamsAreCleanErrors) {
    const std::string valid = FormWithValue(Bytes({10, 3, 0, 0, 0, 1, 2, 3}));
    struct Case {
        const char* what;
        std::string bytes;
    };
    const Case cases[] = {
        {"no signature", "TPF1" + valid.substr(4)},
        {"empty", ""},
        {"binary longer than the data", FormWithValue(Bytes({10, 0xFF, 0xFF, 0xFF, 0xFF, 1}))},
        {"long string longer than the data", FormWithValue(Bytes({12, 0, 0, 0, 0x80}))},
        {"wide string longer than the data", FormWithValue(Bytes({18, 0xFF, 0xFF, 0xFF, 0x7F, 0, 0}))},
        {"short string longer than the data", "TPF0" + Bytes({200}) + "TForm1"},
        {"unknown value type", FormWithValue(Bytes({21}))},
        {"collection item without a list", FormWithValue(Bytes({14, 2, 1, 9}))},
        {"child position that is not an integer", "TPF0" + Bytes({0xF2, 6}) + Short("T") + Bytes({0, 0, 0})},
        {"list without its end", FormWithValue(Bytes({1, 2, 1}))},
        {"object without a class name", "TPF0" + Bytes({0xF1, 0}) + Short("A") + Bytes({0, 0})},
        {"10,000 nested lists", FormWithValue(std::string(10000, '\x01') + std::string(10001, '\0'))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const FormReadResult read = ReadFormStream(c.bytes);
        EXPECT_FALSE(read.ok());
        EXPECT_EQ(read.root, FormObject{});
    }
    for (size_t cut = 0; cut < valid.size(); ++cut) {
        EXPECT_FALSE(ReadFormStream(valid.substr(0, cut)).ok()) << "cut at " << cut;
    }
}

TEST(FormStream, TheTreeOfAStreamIsBoundedInMemory) {
    // Each byte of a list of nil values becomes a value of tens of bytes: two million of them take
    // more than kMaxFormMemory, so 2 MB of stream would make a tree of over 64 MB.
    const FormReadResult read =
        ReadFormStream(FormWithValue(Bytes({1}) + std::string(2'000'000, '\x0D') + Bytes({0})));
    EXPECT_FALSE(read.ok());
    EXPECT_NE(read.error.find("64 MB"), std::string::npos) << read.error;
}

TEST(FormStream, LongClassNamesGetAPrefixSoTheyReadBack) {
    // A length byte of 0xF0 or more would be taken for the filer flags.
    const FormObject form{0,       {}, std::string(245, 'T'),
                          "Form1", {}, {{ffInline, {}, std::string(250, 'C'), "", {}, {}}}};
    const FormWriteResult written = WriteFormStream(form);
    ASSERT_TRUE(written.ok()) << written.error;
    EXPECT_EQ(static_cast<uint8_t>(written.bytes[4]), 0xF0);
    const FormReadResult read = ReadFormStream(written.bytes);
    ASSERT_TRUE(read.ok()) << read.error;
    EXPECT_EQ(read.root, form);
}

TEST(FormStream, NestingIsBoundedForObjectsAndValues) {
    // 64 levels read; a form nested 10,000 deep is refused, not recursed into.
    auto nested_objects = [](int depth) {
        std::string bytes = "TPF0";
        for (int i = 0; i <= depth; ++i) {
            bytes += Short("TPanel") + Short("P" + std::to_string(i)) + Bytes({0});
        }
        return bytes + std::string(static_cast<size_t>(depth) + 1, '\0');
    };
    EXPECT_TRUE(ReadFormStream(nested_objects(kMaxFormDepth)).ok());
    EXPECT_FALSE(ReadFormStream(nested_objects(kMaxFormDepth + 1)).ok());
    EXPECT_FALSE(ReadFormStream(nested_objects(10000)).ok());

    FormValue deep = FormValue::Int(1);
    for (int i = 0; i < kMaxFormDepth + 1; ++i) {
        deep = {FormList{{deep}}};
    }
    const FormObject form{0, {}, "TForm1", "Form1", {{"P", deep}}, {}};
    EXPECT_FALSE(WriteFormStream(form).ok()); // nothing is written that could not be read back
}

TEST(FormStream, WriterRefusesWhatTheFormatCannotHold) {
    struct Case {
        const char* what;
        FormObject object;
    };
    const Case cases[] = {
        {"empty class name", {0, {}, "", "A", {}, {}}},
        {"name longer than 255", {0, {}, "TForm", std::string(256, 'n'), {}, {}}},
        {"empty property name", {0, {}, "TForm", "A", {{"", FormValue::Int(1)}}, {}}},
        {"short string of 256 bytes",
         {0, {}, "TForm", "A", {{"P", {FormString{std::string(256, 's'), FormValueType::vaString}}}}, {}}},
        {"integer too wide for its type",
         {0, {}, "TForm", "A", {{"P", {FormInteger{300, FormValueType::vaInt8}}}}, {}}},
        {"integer with a string type",
         {0, {}, "TForm", "A", {{"P", {FormInteger{3, FormValueType::vaString}}}}, {}}},
        {"empty name in a set", {0, {}, "TForm", "A", {{"P", FormValue::Set({"a", ""})}}, {}}},
        {"child position with a string type",
         {ffChildPos, {1, FormValueType::vaIdent}, "TForm", "A", {}, {}}},
    };
    for (const Case& c : cases) {
        const FormWriteResult written = WriteFormStream(c.object);
        EXPECT_FALSE(written.ok()) << c.what;
        EXPECT_TRUE(written.bytes.empty()) << c.what;
    }
}

TEST(FormLookups, GettersFallBackOnMissingOrOtherTypes) {
    const FormProperties properties = {
        {"Tag", FormValue::Int(7)},
        {"Visible", FormValue::Bool(false)},
        {"Enabled", FormValue::Ident("True")},
        {"Caption", FormValue::Str("Demo")},
        {"Hint", {FormWString{u"\u017Dlu\u0165"}}},
        {"Mode", FormValue::Ident("tmFixed")},
        {"Scale", FormValue::Extended(120)},
        {"Color", FormValue::Ident("clSilver")},
        {"Font.Color", FormValue::Int(2830895)},
        {"Brush", FormValue::Ident("clBtnFace")},
    };
    EXPECT_EQ(FormInt(properties, "TAG", 0), 7);
    EXPECT_EQ(FormInt(properties, "Caption", -1), -1);
    EXPECT_EQ(FormInt(properties, "Missing", 42), 42);
    EXPECT_FALSE(FormBool(properties, "Visible", true));
    EXPECT_TRUE(FormBool(properties, "Enabled", false));
    EXPECT_TRUE(FormBool(properties, "Tag", true));
    EXPECT_EQ(FormText(properties, "Caption", ""), "Demo");
    EXPECT_EQ(FormText(properties, "Hint", ""), "\x8Elu\x9D"); // converted to Windows-1250
    EXPECT_EQ(FormText(properties, "Tag", "none"), "none");
    EXPECT_EQ(FormIdentName(properties, "Mode", ""), "tmFixed");
    EXPECT_EQ(FormIdentName(properties, "Caption", "x"), "x");
    EXPECT_EQ(FormReal(properties, "Scale", 0), 120);
    EXPECT_EQ(FormReal(properties, "Tag", 0), 7);
    EXPECT_EQ(FormColor(properties, "Color"), 0xC0C0C0u);
    EXPECT_EQ(FormColor(properties, "Font.Color"), 2830895u);
    EXPECT_EQ(FormColor(properties, "Brush"), 0x8000000Fu);
    EXPECT_EQ(FormColor(properties, "Mode"), std::nullopt);
}

TEST(FormLookups, FindsObjectsDepthFirst) {
    FormObject form{0, {}, "TForm1", "Form1", {}, {}};
    form.children.push_back(
        {0, {}, "TDIBContainer", "DIBContainer1", {}, {{0, {}, "TDIBImage", "Up1", {}, {}}}});
    form.children.push_back({0, {}, "TDIBImage", "Down1", {}, {}});
    EXPECT_EQ(FindFormObject(form, "form1"), &form);
    EXPECT_EQ(FindFormObject(form, "UP1"), &form.children[0].children[0]);
    EXPECT_EQ(FindFormObject(form, "Down1"), &form.children[1]);
    EXPECT_EQ(FindFormObject(form, "Up2"), nullptr);
}

} // namespace
} // namespace kavlo
