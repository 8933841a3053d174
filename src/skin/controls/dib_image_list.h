#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "skin/controls/component.h"
#include "skin/formats/compressor.h"
#include "skin/formats/picture.h"
#include "skin/formats/stored_image.h"
#include "skin/surface/dib.h"

namespace kavlo {

class FileSystem;
class TDIBImageList;
class TDIBImageLink;

// One image of a list: a surface and the name the editor shows for it. An image read from a form keeps
// its pixels packed as stored until they are first used: a window shows few of its many images at
// first, and unpacking them all would hold up its first frame.
class TDIBImagesItem {
public:
    // The image, unpacked if it was still packed.
    TMemoryDIB& DIB();
    const TMemoryDIB& DIB() const;
    const std::string& DisplayName() const { return display_name_; }
    void SetDisplayName(std::string name) { display_name_ = std::move(name); }
    int Index() const { return index_; }

    // The image's size and draw routine, without unpacking when the stored record gives the size.
    uint16_t Width() const;
    uint16_t Height() const;
    DrawRoutine Routine() const { return dib_.Routine(); }
    // True while the pixels are still packed.
    bool Packed() const { return packed_ != nullptr; }
    // Why the stored pixels did not unpack (the image is then empty); empty otherwise.
    const std::string& UnpackError() const { return unpack_error_; }

    // Draws the image turned and scaled as a control asks, without telling the links: every control
    // that shows a shared image sets its own Angle and Scale before drawing, which must not make the
    // others repaint. The image's own values are back in place afterwards.
    void DrawAs(TAbstractSuperDIB& dest, int x, int y, int16_t angle, long double scale_x,
                long double scale_y);

private:
    friend class TDIBImageList;
    TDIBImagesItem(TDIBImageList& list, int index);
    void Unpack() const;

    TDIBImageList& list_;
    int index_;
    // Unpacking on first use changes what a const item holds, but nothing any caller can see.
    mutable TMemoryDIB dib_;
    mutable std::unique_ptr<StoredRecord> packed_;
    mutable std::string unpack_error_;
    std::string display_name_;
    mutable bool quiet_ = false;
};

// An ordered, zero-based collection of images (DIBImages). Controls point at an image with a link
// and hear of every change of the item it points at.
class TDIBImageList : public TComponent {
public:
    TDIBImageList() = default;
    ~TDIBImageList() override;

    int Count() const { return static_cast<int>(items_.size()); }
    // Null for an index outside the list.
    TDIBImagesItem* Item(int index);
    const TDIBImagesItem* Item(int index) const;
    TDIBImagesItem& Add();
    void Clear();

    // Reads the stored DIBImages collection (DisplayName and the DIB.* record of each item) in place of
    // the current items, their pixels left packed but taken from `budget`. An item whose record cannot
    // be read, or whose pixels the budget refuses, is kept empty so the indexes stay right; the errors
    // are returned, one per such item. Data that does not unpack is found when the item is first used.
    std::vector<std::string> ReadFromForm(const FormProperties& properties,
                                          const CompressorRegistry& compressors, PixelBudget& budget);
    // Unpacks every item still packed; the errors of the items whose pixels did not unpack, one each.
    std::vector<std::string> UnpackAll();
    // The DIBImages collection as a form stores it; images larger than 1 x 1 are packed by
    // `compressor` (null: raw). Returns the notes of blocks stored raw although packing was asked for.
    std::vector<std::string> WriteToForm(FormProperties& properties, const Compressor* compressor) const;

    // Replaces an item's picture with a picture file (BMP or JPEG) and renames it, as the gallery does
    // at run time. Empty on success; otherwise the reason, and the item is unchanged.
    std::string ReloadItem(int index, const FileSystem& fs, std::string_view path, std::string display_name);

private:
    friend class TDIBImagesItem;
    friend class TDIBImageLink;

    void ItemChanged(const TDIBImagesItem& item);
    void NotifyAll();
    void Attach(TDIBImageLink* link);
    void Detach(TDIBImageLink* link);

    std::vector<std::unique_ptr<TDIBImagesItem>> items_;
    std::vector<TDIBImageLink*> links_;
};

// A control's reference to an image: a list and an index (-1: no image). The owner's change handler
// runs when the list or the index is set to something new, when the item pointed at changes and when
// the list goes away.
class TDIBImageLink {
public:
    explicit TDIBImageLink(std::function<void()> on_change = {}) : on_change_(std::move(on_change)) {}
    ~TDIBImageLink();
    TDIBImageLink(const TDIBImageLink&) = delete;
    TDIBImageLink& operator=(const TDIBImageLink&) = delete;

    TDIBImageList* DIBImageList() const { return list_; }
    void SetDIBImageList(TDIBImageList* list);
    int DIBIndex() const { return index_; }
    void SetDIBIndex(int index);
    // The item pointed at; null without a list, with index -1 or an index outside the list.
    TDIBImagesItem* Item() const;
    const TMemoryDIB* Image() const;

    void SetOnChange(std::function<void()> on_change) { on_change_ = std::move(on_change); }

private:
    friend class TDIBImageList;
    void Changed();

    TDIBImageList* list_ = nullptr;
    int index_ = -1;
    std::function<void()> on_change_;
};

// The stored record of a surface, and every property of a record but its pixels back onto a surface.
StoredImage StoredImageOf(const TAbstractSuperDIB& dib);
void ApplyStoredProperties(TAbstractSuperDIB& dib, const StoredImage& image);

} // namespace kavlo
