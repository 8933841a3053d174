#include "form_tform1.h"

#include <array>
#include <tuple>
#include <utility>

#include "form_builder.h"
#include "layout.h"

namespace kavlo::skingen {

namespace {

constexpr std::string_view kSquare = "Square721 AT";
constexpr std::string_view kTahoma = "Tahoma";
constexpr std::string_view kRowBack = "2830895"; // the list rows' back colour, $002B322F

// A DIB image showing `index` of an image list (-1: none).
Props Image(int left, int top, int width, int height, int index, std::string_view list = "DIBImageList1") {
    Props p;
    p.Bounds(left, top, width, height).Ident("IndexMain.DIBImageList", list).Int("IndexMain.DIBIndex", index);
    return p;
}

Props FadeLabel(int left, int top, int width, int height, std::string_view face, int font_height,
                std::string_view colour, bool bold = false) {
    Props p;
    p.Bounds(left, top, width, height).Font(face, font_height, colour, bold).Bool("Transparent", true);
    return p;
}

void AddListGroup(std::vector<FormObject>& c) {
    constexpr std::array<int, 10> kRowY{71, 102, 133, 164, 195, 226, 257, 288, 319, 349};
    constexpr std::array<int, 10> kPlayY{63, 94, 125, 156, 187, 218, 249, 280, 311, 342};
    c.push_back(Component("TDIBImage", "HighlightDIB", Image(71, 93, 135, 28, 74)));
    for (int i = 0; i < 10; ++i) {
        std::string n = std::to_string(i + 1);
        Props p = Image(55, kPlayY[i], 16, 28, 88);
        p.Bool("Visible", false)
            .On("OnClick", "Play" + n + "Click")
            .On("OnMouseEnter", "Play" + n + "MouseEnter");
        p.On("OnMouseLeave", "Play" + n + "MouseLeave");
        c.push_back(Component("TDIBImage", "Play" + n, std::move(p)));
    }
    for (int i = 0; i < 10; ++i) {
        std::string n = std::to_string(i + 1);
        Props p = FadeLabel(76, kRowY[i], 129, 16, kSquare, -12, "clSilver");
        p.Int("Color", 2830895)
            .Ident("ColorHighlighted", "clWhite")
            .Int("FrameCount", 10)
            .Int("FrameDelay", 50);
        p.On("OnClick", i == 0 ? "DemosLabel1_Click" : "DemosLabel" + n + "Click");
        c.push_back(Component("TDIBFadeLabel", "DemosLabel" + n, std::move(p)));
    }
    Props up1 = Image(189, 48, 18, 11, 84);
    up1.On("OnClick", "Up1Click").On("OnMouseMove", "Up1MouseMove");
    c.push_back(Component("TDIBImage", "Up1", std::move(up1)));
    Props down1 = Image(189, 375, 18, 11, 80);
    down1.On("OnClick", "Down1Click").On("OnMouseMove", "Down1MouseMove");
    c.push_back(Component("TDIBImage", "Down1", std::move(down1)));
    c.push_back(
        Component("TDIBFadeLabel", "PositionLabel", FadeLabel(83, 403, 84, 12, kSquare, -11, kRowBack)));
}

void AddDetailGroup(std::vector<FormObject>& c) {
    Props name = FadeLabel(229, 216, 225, 16, kTahoma, -13, "clBlack", true);
    c.push_back(Component("TDIBFadeLabel", "NameLabel", std::move(name)));
    c.push_back(
        Component("TDIBFadeLabel", "FirmLabel", FadeLabel(229, 232, 225, 16, kTahoma, -13, "clBlack", true)));
    Props date = FadeLabel(229, 258, 97, 15, kSquare, -11, "clBlack");
    date.On("OnMouseMove", "DateLabelMouseMove");
    c.push_back(Component("TDIBFadeLabel", "DateLabel", std::move(date)));
    Props text = FadeLabel(229, 276, 265, 145, kTahoma, -13, "clBlack");
    text.Bool("WordWrap", true)
        .On("OnMouseDown", "Image4MouseDown")
        .On("OnMouseMove", "ScreenImageMouseMove");
    c.push_back(Component("TDIBFadeLabel", "TextLabel", std::move(text)));
    Props tech = FadeLabel(227, 427, 277, 15, kSquare, -11, "clBlack");
    tech.On("OnMouseDown", "Image4MouseDown").On("OnMouseEnter", "TechLabelMouseEnter");
    c.push_back(Component("TDIBFadeLabel", "TechLabel", std::move(tech)));
    Props help = FadeLabel(396, 252, 123, 13, kSquare, -11, kRowBack);
    help.Ident("Alignment", "taRightJustify").On("OnMouseMove", "ScreenImageMouseMove");
    c.push_back(Component("TDIBFadeLabel", "HelpLabel", std::move(help)));

    struct FlagPlace {
        const char* name;
        int x;
        int index;
        const char* move;
    };
    constexpr std::array<FlagPlace, 5> kFlags{{{"Flag_Playable", 295, 54, "FlagPlayableMouseMove"},
                                               {"Flag_Unplayable", 332, 56, "Flag_UnplayableMouseMove"},
                                               {"Flag_CZ", 367, 58, "Flag_CZMouseMove"},
                                               {"Flag_Net", 402, 62, "Flag_NetMouseMove"},
                                               {"Flag_3D", 439, 60, "Flag_3DMouseMove"}}};
    for (const FlagPlace& f : kFlags) {
        Props p = Image(f.x, 25, 32, 32, f.index);
        p.Bool("Visible", false).On("OnMouseDown", "Image4MouseDown").On("OnMouseMove", f.move);
        c.push_back(Component("TDIBImage", f.name, std::move(p)));
    }
    // Plain pictures whose images come from ControlsImageList at run time; Tag holds the state.
    Props setup;
    setup.Bounds(439, 227, 14, 13);
    c.push_back(Component("TImage", "SetupImage", std::move(setup)));
    constexpr std::array<std::pair<const char*, int>, 4> kButtons{
        {{"Readme", 459}, {"Web", 476}, {"Play", 493}, {"Stop", 510}}};
    for (const auto& [button, x] : kButtons) {
        Props p;
        p.Bounds(x, 227, 14, 13).On("OnClick", std::string(button) + "DIBImageClick");
        p.On("OnMouseMove", std::string(button) + "CoverMouseMove");
        c.push_back(Component("TImage", std::string(button) + "Image", std::move(p)));
    }
}

std::string SectionName(int n) {
    return (n == 7 || n == 9 ? "DibSection" : "DIBSection") + std::to_string(n);
}

void AddSectionColumn(std::vector<FormObject>& c) {
    constexpr std::array<int, 14> kIconY{60, 127, 194, 261, 329, 400, 463, 530, 598, 666, 733, 800, 866, 933};
    constexpr std::array<int, 14> kLabelY{109, 176, 243, 311, 378, 445, 513,
                                          580, 648, 715, 781, 849, 916, 983};
    for (int i = 0; i < 14; ++i) {
        int n = i + 1;
        std::string name = SectionName(n);
        std::string move = n <= 6 ? "IconImage" + std::to_string(n) + "MouseMove" : name + "MouseMove";
        Props p = Image(552, kIconY[i], 50, n == 6 ? 46 : 50, -1);
        p.Int("Opacity", n >= 6 && n <= 10 ? 0 : 250).On("OnClick", name + "Click").On("OnMouseMove", move);
        c.push_back(Component("TDIBImage", name, std::move(p)));
    }
    for (int i = 0; i < 14; ++i) {
        int n = i + 1;
        std::string label = "IconLabel" + std::to_string(n);
        Props p = FadeLabel(538, kLabelY[i], 80, 13, kSquare, -11, "clSilver");
        p.Ident("Alignment", "taCenter").On("OnClick", SectionName(n) + "Click");
        p.On("OnMouseMove", n == 11 ? "DIBSection11MouseMove" : label + "MouseMove");
        c.push_back(Component("TDIBFadeLabel", label, std::move(p)));
    }
    c.push_back(Component("TDIBImage", "CoverUp", Image(538, 0, 100, 58, 94)));
    c.push_back(Component("TDIBImage", "CoverDown", Image(523, 391, 115, 91, 92)));
    Props up2 = Image(567, 46, 18, 11, 84);
    up2.On("OnMouseMove", "Up2MouseMove");
    c.push_back(Component("TDIBImage", "Up2", std::move(up2)));
    Props down2 = Image(567, 394, 18, 11, 80);
    down2.On("OnMouseMove", "Down2MouseMove");
    c.push_back(Component("TDIBImage", "Down2", std::move(down2)));
}

void AddCornerGroup(std::vector<FormObject>& c) {
    struct Spot {
        const char* name;
        int x, y, w;
    };
    // The indicators only show a state; the spots around them are the hot areas, so the spots lie on
    // top and take the pointer over their whole area.
    for (const auto& [name, x] :
         {std::pair{"ExitDIB", 87}, std::pair{"SetupDIB", 117}, std::pair{"IndigoDIB", 147}}) {
        c.push_back(Component("TDIBImage", name, Image(x, 448, 12, 12, -1)));
    }
    for (const Spot& s :
         {Spot{"Exit", 75, 436, 33}, Spot{"Setup", 108, 437, 31}, Spot{"Indigo", 140, 437, 31}}) {
        Props p = Image(s.x, s.y, s.w, 33, -1);
        p.On("OnClick", std::string(s.name) + "SpotClick")
            .On("OnMouseMove", std::string(s.name) + "SpotMouseMove");
        c.push_back(Component("TDIBImage", std::string(s.name) + "Spot", std::move(p)));
    }
    Props help2 = FadeLabel(83, 421, 85, 13, kSquare, -11, kRowBack);
    help2.On("OnMouseMove", "ScreenImageMouseMove");
    c.push_back(Component("TDIBFadeLabel", "HelpLabel2", std::move(help2)));
    c.push_back(Component("TDIBImage", "UpperArrow", Image(519, 17, 10, 18, 70)));
    c.push_back(Component("TDIBImage", "LowerArrow", Image(519, 271, 10, 17, 72)));
}

void AddViewerAndSponsors(std::vector<FormObject>& c, std::string image1_picture) {
    Props image1;
    image1.Bounds(584, 0, 25, 17)
        .Binary("Picture.Data", std::move(image1_picture))
        .On("OnClick", "Image1Click");
    c.push_back(Component("TImage", "Image1", std::move(image1)));
    for (const auto& [name, box] : {std::pair{"DIBImage3", std::array{343, 454, 112, 29}},
                                    std::pair{"DIBImage5", std::array{541, 455, 95, 25}}}) {
        Props p = Image(box[0], box[1], box[2], box[3], 130);
        p.Bool("Center", true).Ident("Cursor", "crHandPoint").On("OnClick", std::string(name) + "Click");
        c.push_back(Component("TDIBImage", name, std::move(p)));
    }
    // The enlarged picture under its frame, the arrows on top of both.
    Props picture = Image(0, 0, 638, 482, -1, "DIBImageList2");
    picture.Int("Opacity", 0).Bool("Visible", false);
    picture.On("OnMouseDown", "DIBImage1MouseDown");
    c.push_back(Component("TDIBImage", "DIBImage2", std::move(picture)));
    Props frame = Image(0, 0, 638, 482, 78);
    frame.Bool("AutoSize", true).Bool("Visible", false).On("OnMouseDown", "DIBImage1MouseDown");
    c.push_back(Component("TDIBImage", "DIBImage1", std::move(frame)));
    for (const auto& [name, x, index] :
         {std::tuple{"LeftArrow", 18, 77}, std::tuple{"RightArrow", 577, 76}}) {
        Props p = Image(x, 206, 44, 72, index);
        p.Int("Opacity", 0).Bool("Visible", false).On("OnClick", std::string(name) + "Click");
        c.push_back(Component("TDIBImage", name, std::move(p)));
    }
}

FormObject Container(const FormParts& parts) {
    std::vector<FormObject> c;
    Props back = Image(0, 0, 641, 482, 52);
    back.On("OnMouseDown", "Image4MouseDown").On("OnMouseMove", "ScreenImageMouseMove");
    c.push_back(Component("TDIBImage", "DIBBackImage", std::move(back)));
    Props small = Image(226, 64, 243, 151, -1, "DIBImageList2");
    small.Int("Opacity", 150).Bool("Stretch", true);
    small.On("OnClick", "DIBImage4Click").On("OnMouseEnter", "DIBImage4MouseEnter");
    small.On("OnMouseLeave", "DIBImage4MouseLeave").On("OnMouseMove", "DIBImage4MouseMove");
    c.push_back(Component("TDIBImage", "DIBImage4", std::move(small)));
    AddListGroup(c);
    AddDetailGroup(c);
    AddSectionColumn(c);
    AddCornerGroup(c);
    AddViewerAndSponsors(c, parts.image1_picture);
    Props p;
    p.Bounds(85, 173, 638, 482).Ident("BorderDrawPosition", "bdOverControls");
    return Component("TDIBContainer", "DIBContainer1", std::move(p), std::move(c));
}

void AddWindowControls(std::vector<FormObject>& f, const FormParts& parts) {
    Props image4;
    image4.Bounds(0, 0, 818, 741).Bool("AutoSize", true).Binary("Picture.Data", parts.frame_picture);
    image4.On("OnMouseDown", "Image4MouseDown");
    f.push_back(Component("TImage", "Image4", std::move(image4)));
    Props number;
    number.Bounds(148, 200, 112, 34).Str("Caption", "0206").Font("Square721 BdEx AT", -29, "clSilver", true);
    number.Bool("Transparent", true);
    f.push_back(Component("TLabel", "CDNumberLabel", std::move(number)));
    for (const auto& [name, x, w, caption] :
         {std::tuple{"DebugLabel1", 176, 50, "Reload"}, std::tuple{"DebugLabel2", 248, 59, "Show ini"}}) {
        Props p;
        p.Bounds(x, 696, w, 18).Str("Caption", caption).Font(kSquare, -16, "clRed").Bool("Visible", false);
        p.On("OnClick", std::string(name) + "Click");
        f.push_back(Component("TLabel", name, std::move(p)));
    }
    f.push_back(Container(parts));
    for (int i = 0; i < static_cast<int>(layout::kClipWindows.size()); ++i) {
        std::string n = "Animate" + std::to_string(i + 1);
        const Box& box = layout::kClipWindows[static_cast<size_t>(i)];
        Props p;
        p.Bounds(box.x, box.y, box.w, box.h).Bool("Active", false).Int("Repetitions", 1);
        p.Bool("Visible", false).On(i == 7 ? "OnOpen" : "OnStart", n + (i == 7 ? "Open" : "Start"));
        p.On("OnMouseDown", "Image4MouseDown");
        f.push_back(Component("TAnimate2", n, std::move(p)));
    }
}

void AddNonVisual(std::vector<FormObject>& f, FormParts& parts) {
    Props list1;
    list1.Value("DIBImages", std::move(parts.image_list1.front().value));
    f.push_back(Component("TDIBImageList", "DIBImageList1", std::move(list1)));
    Props list2;
    list2.Int("Tag", 1).Value("DIBImages", std::move(parts.image_list2.front().value));
    f.push_back(Component("TDIBImageList", "DIBImageList2", std::move(list2)));
    Props controls;
    controls.Int("Height", 13)
        .Int("Width", 14)
        .Bool("Masked", false)
        .Binary("Bitmap", std::move(parts.controls_bitmap));
    f.push_back(Component("TImageList", "ControlsImageList", std::move(controls)));
    Props shaper;
    shaper.Bool("Active", true)
        .Binary("Bitmap.Data", std::move(parts.shaper_bitmap))
        .Int("IndexShape.DIBIndex", -1);
    shaper.Ident("TransparentMode", "tmAuto").Int("OffsetX", 0).Int("OffsetY", 0);
    f.push_back(Component("TDIBFormShaper", "DIBFormShaper1", std::move(shaper)));
    Props settings;
    settings.Str("DIBCompressor", parts.compressor_id);
    f.push_back(Component("TDIBSettings", "DIBSettings1", std::move(settings)));

    struct Timer {
        const char* cls;
        const char* name;
        int interval_ms;
        const char* handler;
    };
    constexpr std::array<Timer, 10> kTimers{{{"TTimer", "AnimationTimer", 300, "AnimationTimerTimer"},
                                             {"TTimer", "StartTimer", 5000, "StartTimerTimer"},
                                             // The two scroll timers run each other's handler.
                                             {"TTimer", "ScrollDownTimer", 10, "ScrollUpTimerTimer"},
                                             {"TTimer", "ScrollUpTimer", 10, "ScrollDownTimerTimer"},
                                             {"TTimer", "Timer1", 3000, "Timer1Timer"},
                                             {"TTimer", "MusicTimer", 5000, "MusicTimerTimer"},
                                             {"TDIBTimer", "DIBTimer1", 50, "DIBTimer1Timer"},
                                             {"TDIBTimer", "DIBTimer2", 50, "DIBTimer2Timer"},
                                             {"TDIBTimer", "DIBTimer3", 10, "DIBTimer3Timer"},
                                             {"TDIBTimer", "DIBTimer4", 10, "DIBTimer4Timer"}}};
    for (const Timer& t : kTimers) {
        Props p;
        p.Bool("Enabled", false).Int("Interval", t.interval_ms).On("OnTimer", t.handler);
        f.push_back(Component(t.cls, t.name, std::move(p)));
    }
    FormCollectionItem player;
    Props pp;
    pp.Ident("InputMode", "imFile").Ident("OutputMode", "omMMSystem").Int("StartPos", 0).Int("EndPos", 0);
    pp.Int("Priority", 0).Int("BuffersCount", 8).Int("BufferSize", 16384).Int("OutputDevNum", 0);
    pp.Bool("UseEqualizer", false);
    player.properties = pp.Take();
    Props man;
    man.Value("Players", FormValue{FormCollection{{std::move(player)}}});
    f.push_back(Component("TElPlayerMan", "ElPlayerMan1", std::move(man)));
}

} // namespace

FormObject BuildForm1(FormParts parts) {
    Props p;
    p.Int("Left", 0).Int("Top", 0).Ident("BorderStyle", "bsNone").Int("ClientHeight", 918);
    p.Int("ClientWidth", 1175).Ident("Color", "clBlack");
    p.Ident("Font.Charset", "DEFAULT_CHARSET").Ident("Font.Color", "clWindowText").Int("Font.Height", -11);
    p.Str("Font.Name", "MS Sans Serif").Set("Font.Style", {}).Ident("Position", "poScreenCenter");
    p.Bool("Scaled", false).On("OnCreate", "FormCreate").On("OnDestroy", "FormDestroy");
    p.On("OnKeyDown", "FormKeyDown").On("OnMouseWheelDown", "FormMouseWheelUp");
    p.On("OnMouseWheelUp", "FormMouseWheelDown").On("OnShow", "FormShow");
    p.Int("PixelsPerInch", 96).Int("TextHeight", 13);
    std::vector<FormObject> children;
    AddWindowControls(children, parts);
    AddNonVisual(children, parts);
    return Component("TForm1", "Form1", std::move(p), std::move(children));
}

} // namespace kavlo::skingen
