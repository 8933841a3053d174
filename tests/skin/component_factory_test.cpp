#include "skin/controls/component_factory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "skin/controls/dib_container.h"
#include "skin/controls/dib_fade_label.h"
#include "skin/controls/dib_form_shaper.h"
#include "skin/controls/dib_image.h"
#include "skin/controls/dib_image_list.h"
#include "skin/controls/dib_settings.h"
#include "skin/controls/plain_controls.h"
#include "skin_control_fixture.h"
#include "skin_pixels.h"

namespace kavlo {
namespace {

using test::Solid;

FormObject Obj(std::string class_name, std::string name, FormProperties properties,
               std::vector<FormObject> children = {}) {
    FormObject object;
    object.class_name = std::move(class_name);
    object.name = std::move(name);
    object.properties = std::move(properties);
    object.children = std::move(children);
    return object;
}

FormProperty P(std::string name, FormValue value) {
    return {std::move(name), std::move(value)};
}

FormProperties Bounds(int left, int top, int width, int height) {
    return {P("Left", FormValue::Int(left)), P("Top", FormValue::Int(top)), P("Width", FormValue::Int(width)),
            P("Height", FormValue::Int(height))};
}

FormProperties With(FormProperties a, const FormProperties& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

FormObject ImageList(std::string name, const std::vector<TMemoryDIB>& images) {
    TDIBImageList list;
    for (const TMemoryDIB& image : images) {
        list.Add().DIB().Assign(image);
    }
    FormProperties properties;
    list.WriteToForm(properties, nullptr);
    return Obj("TDIBImageList", std::move(name), std::move(properties));
}

// A small window with one of everything, the image list stored after the controls that use it.
FormObject SampleForm() {
    TMemoryDIB mask = Solid(20, 10, 0xFFFFFFFF);
    for (int x = 2; x < 18; ++x) {
        mask.SetPixel(x, 4, 0xFF000000);
    }
    FormObject container = Obj(
        "TDIBContainer", "DIBContainer1",
        With(Bounds(10, 5, 30, 20), {P("Color", FormValue::Int(0x000080)),
                                     P("BorderDrawPosition", FormValue::Ident("bdOverControls"))}),
        {
            Obj("TDIBImage", "DIBBackImage",
                With(Bounds(0, 0, 1, 1),
                     {P("IndexMain.DIBImageList", FormValue::Ident("DIBImageList1")),
                      P("IndexMain.DIBIndex", FormValue::Int(0)), P("AutoSize", FormValue::Bool(true)),
                      P("OnMouseDown", FormValue::Ident("Image4MouseDown"))})),
            Obj("TDIBImage", "DIBSection1",
                With(Bounds(20, 2, 8, 8),
                     {P("IndexMain.DIBImageList", FormValue::Ident("Form1.DIBImageList1")),
                      P("IndexMain.DIBIndex", FormValue::Int(1)), P("Opacity", FormValue::Int(250)),
                      P("Cursor", FormValue::Ident("crHandPoint")), P("Center", FormValue::Bool(true)),
                      P("Hint", FormValue::Str("kept quietly")),
                      P("Glow", FormValue::Str("not a property of the class")),
                      P("OnClick", FormValue::Ident("DIBSection1Click"))})),
            Obj("TDIBFadeLabel", "IconLabel1",
                With(Bounds(1, 12, 28, 8),
                     {P("Caption", FormValue::Str("Demos")),
                      P("Font.Charset", FormValue::Ident("EASTEUROPE_CHARSET")),
                      P("Font.Color", FormValue::Ident("clSilver")), P("Font.Height", FormValue::Int(-11)),
                      P("Font.Name", FormValue::Str("Square721 AT")),
                      P("Font.Style", FormValue::Set({"fsBold"})),
                      P("Alignment", FormValue::Ident("taCenter")), P("Layout", FormValue::Ident("tlCenter")),
                      P("Transparent", FormValue::Bool(true)),
                      P("ColorHighlighted", FormValue::Int(0x00FFFF)), P("FrameCount", FormValue::Int(5)),
                      P("FrameDelay", FormValue::Int(20)), P("DIBTabOrder", FormValue::Int(3))})),
            // A plain picture on the container: above every DIB control, whatever the order.
            Obj("TImage", "SetupImage",
                With(Bounds(24, 1, 3, 3),
                     {P("Picture.Data", FormValue::Binary(WritePictureData(Solid(3, 3, 0xFFFF00FF))))})),
            Obj("TDIBImage", "DIBSection2",
                With(Bounds(24, 0, 4, 2), {P("IndexMain.DIBImageList", FormValue::Ident("DIBImageList1")),
                                           P("IndexMain.DIBIndex", FormValue::Int(1))})),
        });
    return Obj("TForm1", "Form1",
               {P("Caption", FormValue::Str("Menu")), P("ClientHeight", FormValue::Int(40)),
                P("ClientWidth", FormValue::Int(60)), P("Color", FormValue::Ident("clBlack")),
                P("OnCreate", FormValue::Ident("FormCreate")), P("Scaled", FormValue::Bool(false))},
               {
                   Obj("TImage", "Image4",
                       {P("Left", FormValue::Int(0)), P("Top", FormValue::Int(0)),
                        P("AutoSize", FormValue::Bool(true)),
                        P("Picture.Data", FormValue::Binary(WritePictureData(Solid(14, 8, 0xFF00FF00))))}),
                   Obj("TLabel", "DebugLabel1",
                       With(Bounds(40, 30, 18, 8),
                            {P("Caption", FormValue::Str("Reload")), P("Visible", FormValue::Bool(false)),
                             P("Font.Color", FormValue::Ident("clRed"))})),
                   container,
                   Obj("TTimer", "AnimationTimer",
                       {P("Enabled", FormValue::Bool(false)), P("Interval", FormValue::Int(300)),
                        P("OnTimer", FormValue::Ident("AnimationTimerTimer"))}),
                   Obj("TDIBTimer", "DIBTimer1", {P("Interval", FormValue::Int(50))}),
                   Obj("TDIBFormShaper", "DIBFormShaper1",
                       {P("Active", FormValue::Bool(true)),
                        P("Bitmap.Data", FormValue::Binary(WriteGraphicData(mask)))}),
                   Obj("TDIBSettings", "DIBSettings1",
                       {P("DIBCompressor", FormValue::Str("{BC0C10FC-E045-41E7-A37C-B86AF21320B8}"))}),
                   Obj("TElPlayerMan", "ElPlayerMan1", {P("Volume", FormValue::Int(80))}),
                   ImageList("DIBImageList1", {Solid(30, 20, 0xFF304050), Solid(4, 4, 0xFFC08040)}),
               });
}

class FactoryTest : public ::testing::Test {
protected:
    FormLoadResult Load(const FormObject& root) {
        const FormWriteResult written = WriteFormStream(root);
        EXPECT_TRUE(written.ok()) << written.error;
        return LoadSkinForm(written.bytes, factory, fixture.Services(), compressors);
    }

    test::SkinFixture fixture;
    CompressorRegistry compressors = CompressorRegistry::WithStandardCompressors();
    ComponentFactory factory = ComponentFactory::Standard();
};

TEST_F(FactoryTest, AStoredFormComesBackAsComponentsFoundByName) {
    FormLoadResult loaded = Load(SampleForm());
    ASSERT_TRUE(loaded.ok()) << (loaded.errors.empty() ? "" : loaded.errors[0]);
    SkinForm& form = *loaded.form;
    EXPECT_EQ(form.Name(), "Form1");
    EXPECT_EQ(form.ClassName(), "TForm1");
    EXPECT_EQ(form.ClientWidth(), 60);
    EXPECT_EQ(form.ClientHeight(), 40);
    EXPECT_EQ(form.Caption(), "Menu");
    EXPECT_EQ(form.HandlerName("OnCreate"), "FormCreate");
    EXPECT_EQ(form.Components().size(), 14u);

    auto* back = form.Find<TDIBImage>("dibbackimage");
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->IndexMain().DIBImageList(), form.Find<TDIBImageList>("DIBImageList1"));
    EXPECT_EQ(back->Width(), 30); // auto-sized once the list named after it was found
    EXPECT_EQ(back->HandlerName("OnMouseDown"), "Image4MouseDown");

    auto* section = form.Find<TDIBImage>("DIBSection1");
    ASSERT_NE(section, nullptr);
    EXPECT_NE(section->IndexMain().Image(), nullptr);
    EXPECT_EQ(section->Opacity(), 250);
    EXPECT_EQ(section->Cursor(), crHandPoint);
    EXPECT_TRUE(section->Center());
    EXPECT_EQ(section->HandlerName("OnClick"), "DIBSection1Click");
    EXPECT_EQ(FormText(section->Kept(), "Hint", ""), "kept quietly");
    EXPECT_EQ(FormText(section->Kept(), "Glow", ""), "not a property of the class");

    auto* label = form.Find<TDIBFadeLabel>("IconLabel1");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->Caption(), "Demos");
    EXPECT_EQ(label->Font(), (FontSpec{.name = "Square721 AT", .height = -11, .bold = true, .charset = 238}));
    EXPECT_EQ(label->FontColor(), 0xC0C0C0u);
    EXPECT_EQ(label->CurrentColor(), 0xC0C0C0u);
    EXPECT_EQ(label->ColorHighlighted(), 0x00FFFFu);
    EXPECT_EQ(label->Alignment(), TAlignment::taCenter);
    EXPECT_EQ(label->Layout(), TTextLayout::tlCenter);
    EXPECT_EQ(label->FrameCount(), 5);
    EXPECT_EQ(label->FadeTable().size(), 5u);
    EXPECT_EQ(label->FrameDelay(), 20u);
    EXPECT_EQ(label->DIBTabOrder(), 3);

    auto* container = form.Find<TDIBContainer>("DIBContainer1");
    ASSERT_NE(container, nullptr);
    EXPECT_EQ(container->ControlCount(), 4);
    EXPECT_EQ(form.Find<TImage>("SetupImage")->Parent(), container);
    EXPECT_EQ(container->BorderDrawPosition(), TBorderDrawPosition::bdOverControls);
    EXPECT_EQ(&label->Container(), container);

    auto* image = form.Find<TImage>("Image4");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->Width(), 14);
    EXPECT_FALSE(form.Find<TLabel>("DebugLabel1")->Visible());
    auto* timer = form.Find<TimerComponent>("AnimationTimer");
    ASSERT_NE(timer, nullptr);
    EXPECT_FALSE(timer->Timer().Enabled());
    EXPECT_EQ(timer->Timer().Interval(), 300u);
    EXPECT_EQ(timer->HandlerName("OnTimer"), "AnimationTimerTimer");
    EXPECT_FALSE(form.Find<TimerComponent>("DIBTimer1")->Timer().Enabled());
    EXPECT_EQ(form.Find<TDIBSettings>("DIBSettings1")->Find(compressors), compressors.FindByName("DIB LZH"));

    // A class this program does not know is kept with its properties, and said so.
    TComponent* player = form.FindComponent("ElPlayerMan1");
    ASSERT_NE(player, nullptr);
    EXPECT_EQ(FormInt(player->Kept(), "Volume", 0), 80);
    auto mentions = [&](const std::string& text) {
        return std::any_of(loaded.warnings.begin(), loaded.warnings.end(),
                           [&](const std::string& w) { return w.find(text) != std::string::npos; });
    };
    EXPECT_TRUE(mentions("TElPlayerMan"));
    EXPECT_TRUE(mentions("DIBSection1.Glow"));
    EXPECT_FALSE(mentions("Hint"));
    EXPECT_FALSE(mentions("OnClick"));
}

TEST_F(FactoryTest, TheLoadedWindowComposesShapesAndRoutesThePointer) {
    FormLoadResult loaded = Load(SampleForm());
    ASSERT_TRUE(loaded.ok());
    SkinForm& form = *loaded.form;
    WindowSite& site = fixture.OpenWindow(60, 40);
    form.SetSite(&site);
    // The shaper, active in the stream, shapes the window it is given: one run of the mask.
    EXPECT_EQ(fixture.WindowShape(), (std::vector<Rect>{{2, 4, 18, 5}}));

    form.Paint({0, 0, 60, 40});
    EXPECT_EQ(fixture.FramePixel(59, 0) & 0xFFFFFF, 0u); // the form's black
    EXPECT_EQ(fixture.FramePixel(3, 2), 0xFF00FF00u);    // Image4
    // Image4 runs under the container's corner: the container hides that part.
    EXPECT_EQ(fixture.FramePixel(9, 6), 0xFF00FF00u);
    EXPECT_EQ(fixture.FramePixel(12, 4), 0xFF00FF00u);
    EXPECT_EQ(fixture.FramePixel(12, 6), 0xFF304050u);
    EXPECT_EQ(fixture.FramePixel(10 + 29, 5 + 19), 0xFF304050u); // the container's background image
    // The section icon at 250: its blend over the background, inside the container.
    EXPECT_EQ(fixture.FramePixel(10 + 22, 5 + 4), test::BlendedPixel(0xFFC08040, 0xFF304050, 250));
    // The container's plain picture lies over the DIB control made after it, and takes the pointer.
    EXPECT_EQ(fixture.FramePixel(10 + 24, 5 + 1), 0xFFFF00FFu);
    EXPECT_EQ(fixture.FramePixel(10 + 27, 5 + 0), 0xFFC08040u);
    int picture_clicks = 0;
    form.Find<TImage>("SetupImage")->handlers.OnClick = [&picture_clicks](TControl&) { ++picture_clicks; };
    form.PointerMove({}, 35, 7);
    form.PointerDown(MouseButton::Left, {}, 35, 7);
    form.PointerUp(MouseButton::Left, {}, 35, 7);
    EXPECT_EQ(picture_clicks, 1);

    int clicks = 0;
    form.Find<TDIBImage>("DIBSection1")->handlers.OnClick = [&clicks](TControl&) { ++clicks; };
    form.PointerMove({}, 33, 8);
    form.PointerDown(MouseButton::Left, {}, 33, 8);
    form.PointerUp(MouseButton::Left, {}, 34, 9);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(fixture.HandCursorShown());

    auto* label = form.Find<TDIBFadeLabel>("IconLabel1");
    form.PointerMove({}, 20, 20);
    EXPECT_EQ(label->CurrentColor(), 0x00FFFFu);
    form.PointerMove({}, 59, 39); // off the container: the label fades in five 20 ms ticks
    fixture.RunFor(100);
    EXPECT_EQ(label->CurrentColor(), 0xC0C0C0u);
}

TEST_F(FactoryTest, BadDataIsReportedAndTheRestOfTheFormStillLoads) {
    FormObject root =
        Obj("TForm1", "Form1", {P("ClientWidth", FormValue::Int(20)), P("ClientHeight", FormValue::Int(20))},
            {
                Obj("TDIBImage", "Stray", Bounds(0, 0, 4, 4)),
                Obj("TDIBContainer", "DIBContainer1", Bounds(0, 0, 20, 20),
                    {
                        Obj("TDIBImage", "Linked",
                            {P("IndexMain.DIBImageList", FormValue::Ident("NoSuchList")),
                             P("Opacity", FormValue::Int(300)), P("Left", FormValue::Int(7))}),
                        Obj("TDIBFadeLabel", "Linked", {}),
                    }),
                Obj("TImage", "Broken", {P("Picture.Data", FormValue::Binary("\x07TBitmap\x05"))}),
                Obj("TDIBFormShaper", "Shaper", {P("TransparentMode", FormValue::Ident("tmSometimes"))}),
            });
    FormLoadResult loaded = Load(root);
    ASSERT_NE(loaded.form, nullptr);
    EXPECT_FALSE(loaded.ok());
    const std::vector<std::string> expected = {
        "TDIBImage can only be placed on a TDIBContainer",
        "Linked.Opacity",
        "A component named Linked already exists",
        "Broken.Picture.Data",
        "Shaper.TransparentMode",
        "Linked.IndexMain.DIBImageList: no component NoSuchList",
    };
    ASSERT_EQ(loaded.errors.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_NE(loaded.errors[i].find(expected[i]), std::string::npos) << loaded.errors[i];
    }
    // What could be taken was taken.
    auto* linked = loaded.form->Find<TDIBImage>("Linked");
    ASSERT_NE(linked, nullptr);
    EXPECT_EQ(linked->Left(), 7);
    EXPECT_EQ(linked->Opacity(), 255);
    EXPECT_EQ(loaded.form->FindComponent("Stray"), nullptr);

    const FormLoadResult garbage =
        LoadSkinForm(std::string_view("TPF1"), factory, fixture.Services(), compressors);
    EXPECT_EQ(garbage.form, nullptr);
    EXPECT_FALSE(garbage.ok());
    EXPECT_EQ(garbage.errors.size(), 1u);
}

// Records of 2048 x 2048 (16 MB of pixels each) that cost a stream a few bytes: without data the
// record's size is taken as it is.
FormObject LargeImages(const std::string& name, int count) {
    FormCollection items;
    for (int i = 0; i < count; ++i) {
        items.items.push_back(
            {false, {}, {P("DIB.Width", FormValue::Int(2048)), P("DIB.Height", FormValue::Int(2048))}});
    }
    return Obj("TDIBImageList", name, {P("DIBImages", FormValue{std::move(items)})});
}

TEST_F(FactoryTest, AllImagesAndPicturesOfAFormShareOnePixelBudget) {
    const auto picture = [](const char* name) {
        return Obj("TImage", name,
                   {P("Picture.Data", FormValue::Binary(WritePictureData(Solid(3, 3, 0xFF000000))))});
    };
    struct Case {
        const char* what;
        std::vector<FormObject> children;
        bool loads;
    };
    const Case cases[] = {
        {"exactly the budget", {LargeImages("A", 2), LargeImages("B", 2)}, true},
        {"one image over it, in the next list", {LargeImages("A", 2), LargeImages("B", 3)}, false},
        {"a small picture after the budget is spent", {LargeImages("A", 4), picture("Image4")}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const FormLoadResult loaded = Load(Obj("TForm1", "Form1", {}, c.children));
        EXPECT_EQ(loaded.form != nullptr, c.loads);
        if (!c.loads) {
            ASSERT_FALSE(loaded.errors.empty());
            EXPECT_NE(loaded.errors.front().find("64 MB"), std::string::npos) << loaded.errors.front();
        }
    }
}

TEST(PlainImageListTest, ImagesReadBackInOrderFromEitherLayout) {
    std::vector<TMemoryDIB> images;
    for (uint32_t i = 0; i < 6; ++i) {
        images.push_back(Solid(14, 13, 0xFF000000u | (i * 40) << 16 | 0x80));
        images.back().SetPixel(0, 0, 0xFF0000FFu + i);
    }
    std::vector<const TAbstractSuperDIB*> pointers;
    for (const TMemoryDIB& image : images) {
        pointers.push_back(&image);
    }
    TImageList list;
    ASSERT_EQ(list.ReadData(WriteImageListData(pointers, 14, 13)), "");
    ASSERT_EQ(list.Count(), 6);
    EXPECT_EQ(list.Width(), 14);
    EXPECT_EQ(list.Height(), 13);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(list.Image(i)->Pixel(0, 0), images[static_cast<size_t>(i)].Pixel(0, 0)) << i;
        EXPECT_EQ(list.Image(i)->Pixel(13, 12), images[static_cast<size_t>(i)].Pixel(13, 12)) << i;
    }

    // A bare bitmap: the images side by side, their size from the list's Width and Height.
    TMemoryDIB strip = Solid(6, 2, 0xFF111111);
    strip.SetPixel(2, 0, 0xFF222222);
    strip.SetPixel(4, 1, 0xFF333333);
    TImageList strip_list;
    strip_list.SetSize(2, 2);
    ASSERT_EQ(strip_list.ReadData(EncodeBmpFile(strip)), "");
    ASSERT_EQ(strip_list.Count(), 3);
    EXPECT_EQ(strip_list.Image(1)->Pixel(0, 0), 0xFF222222u);
    EXPECT_EQ(strip_list.Image(2)->Pixel(0, 1), 0xFF333333u);

    // Data that promises more images than its bitmap holds leaves the list alone.
    std::string cut = WriteImageListData(pointers, 14, 13);
    cut[4] = 9;
    EXPECT_NE(strip_list.ReadData(cut), "");
    EXPECT_NE(strip_list.ReadData("IL"), "");
    EXPECT_EQ(strip_list.Count(), 3);
}

} // namespace
} // namespace kavlo
