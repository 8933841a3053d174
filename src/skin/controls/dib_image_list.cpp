#include "skin/controls/dib_image_list.h"

#include <algorithm>
#include <utility>

#include "skin/formats/picture.h"

namespace kavlo {

TDIBImagesItem::TDIBImagesItem(TDIBImageList& list, int index) : list_(list), index_(index) {
    dib_.SetOnChange([this](TAbstractSuperDIB&) {
        if (!quiet_) {
            list_.ItemChanged(*this);
        }
    });
}

TMemoryDIB& TDIBImagesItem::DIB() {
    Unpack();
    return dib_;
}

const TMemoryDIB& TDIBImagesItem::DIB() const {
    Unpack();
    return dib_;
}

uint16_t TDIBImagesItem::Width() const {
    if (packed_ != nullptr && packed_->size_known) {
        return packed_->image.image.width;
    }
    return DIB().Width();
}

uint16_t TDIBImagesItem::Height() const {
    if (packed_ != nullptr && packed_->size_known) {
        return packed_->image.image.height;
    }
    return DIB().Height();
}

void TDIBImagesItem::Unpack() const {
    if (packed_ == nullptr) {
        return;
    }
    const std::unique_ptr<StoredRecord> record = std::move(packed_);
    PixelBlockResult pixels = DecodeStoredRecord(*record);
    if (pixels.ok()) {
        quiet_ = true;
        dib_.SetPixels(pixels.block.width, pixels.block.height, std::move(pixels.block.pixels));
        quiet_ = false;
    } else {
        unpack_error_ = "DIB.Data: " + pixels.error;
    }
    // The size told before unpacking was the record's; where the data says otherwise, the data decides
    // and whoever shows the image hears of its new size.
    const PixelBlock& told = record->image.image;
    if (record->size_known && (told.width != dib_.Width() || told.height != dib_.Height())) {
        list_.ItemChanged(*this);
    }
}

void TDIBImagesItem::DrawAs(TAbstractSuperDIB& dest, int x, int y, int16_t angle, long double scale_x,
                            long double scale_y) {
    Unpack();
    quiet_ = true;
    const int16_t old_angle = dib_.Angle();
    const long double old_x = dib_.ScaleX();
    const long double old_y = dib_.ScaleY();
    dib_.SetAngle(angle);
    dib_.SetScaleX(scale_x);
    dib_.SetScaleY(scale_y);
    dib_.Draw(dest, x, y);
    dib_.SetAngle(old_angle);
    dib_.SetScaleX(old_x);
    dib_.SetScaleY(old_y);
    quiet_ = false;
}

TDIBImageList::~TDIBImageList() {
    // Links outlive lists in a form being torn down: they must not keep a dangling list.
    std::vector<TDIBImageLink*> links = std::move(links_);
    links_.clear();
    for (TDIBImageLink* link : links) {
        link->list_ = nullptr;
        link->Changed();
    }
}

TDIBImagesItem* TDIBImageList::Item(int index) {
    if (index < 0 || index >= Count()) {
        return nullptr;
    }
    return items_[static_cast<size_t>(index)].get();
}

const TDIBImagesItem* TDIBImageList::Item(int index) const {
    if (index < 0 || index >= Count()) {
        return nullptr;
    }
    return items_[static_cast<size_t>(index)].get();
}

TDIBImagesItem& TDIBImageList::Add() {
    items_.push_back(std::unique_ptr<TDIBImagesItem>(new TDIBImagesItem(*this, Count())));
    // A link may already point at the index the new item takes.
    NotifyAll();
    return *items_.back();
}

void TDIBImageList::Clear() {
    items_.clear();
    NotifyAll();
}

std::vector<std::string> TDIBImageList::ReadFromForm(const FormProperties& properties,
                                                     const CompressorRegistry& compressors,
                                                     PixelBudget& budget) {
    std::vector<std::string> errors;
    std::vector<std::unique_ptr<TDIBImagesItem>> items;
    const FormValue* value = FindFormProperty(properties, "DIBImages");
    const FormCollection* collection = value != nullptr ? std::get_if<FormCollection>(&value->data) : nullptr;
    if (value != nullptr && collection == nullptr) {
        errors.push_back(Name() + ".DIBImages is not a collection");
    }
    if (collection != nullptr) {
        for (const FormCollectionItem& stored : collection->items) {
            const int index = static_cast<int>(items.size());
            auto item = std::unique_ptr<TDIBImagesItem>(new TDIBImagesItem(*this, index));
            item->display_name_ = FormText(stored.properties, "DisplayName", "");
            const std::string place = Name() + ".DIBImages[" + std::to_string(index) + "]: ";
            StoredRecordResult read = ReadStoredRecord(stored.properties, compressors);
            if (!read.ok()) {
                errors.push_back(place + read.error);
            } else if (!budget.Take(read.record.pixel_count)) {
                errors.push_back(place + budget.Refusal());
            } else {
                item->quiet_ = true;
                ApplyStoredProperties(item->dib_, read.record.image);
                item->quiet_ = false;
                item->packed_ = std::make_unique<StoredRecord>(std::move(read.record));
            }
            items.push_back(std::move(item));
        }
    }
    items_ = std::move(items);
    NotifyAll();
    return errors;
}

std::vector<std::string> TDIBImageList::UnpackAll() {
    std::vector<std::string> errors;
    for (const auto& item : items_) {
        item->Unpack();
        if (!item->unpack_error_.empty()) {
            errors.push_back(Name() + ".DIBImages[" + std::to_string(item->index_) +
                             "]: " + item->unpack_error_);
        }
    }
    return errors;
}

std::vector<std::string> TDIBImageList::WriteToForm(FormProperties& properties,
                                                    const Compressor* compressor) const {
    std::vector<std::string> notes;
    FormCollection collection;
    for (const auto& item : items_) {
        FormCollectionItem stored;
        stored.properties.push_back({"DisplayName", FormValue::Str(item->display_name_)});
        const StoredImage image = StoredImageOf(item->DIB());
        // A 1 x 1 block is smaller than any container header: it stays raw.
        const bool tiny = item->dib_.PixelCount() <= 1;
        std::string note = AppendStoredImage(stored.properties, image, tiny ? nullptr : compressor);
        if (!note.empty()) {
            notes.push_back(note);
        }
        collection.items.push_back(std::move(stored));
    }
    properties.push_back({"DIBImages", FormValue{std::move(collection)}});
    return notes;
}

std::string TDIBImageList::ReloadItem(int index, const FileSystem& fs, std::string_view path,
                                      std::string display_name) {
    TDIBImagesItem* item = Item(index);
    if (item == nullptr) {
        return "List index out of bounds (" + std::to_string(index) + ")";
    }
    PictureResult picture = LoadPictureFile(fs, path);
    if (!picture) {
        return picture.error;
    }
    // The name goes first so that the links, told of the new picture, already read the new name; the
    // stored pixels are no longer the item's.
    item->display_name_ = std::move(display_name);
    item->packed_.reset();
    item->unpack_error_.clear();
    AssignPicture(item->dib_, std::move(*picture.picture));
    return {};
}

void TDIBImageList::ItemChanged(const TDIBImagesItem& item) {
    // A handler may set links, which changes links_: walk a copy.
    const std::vector<TDIBImageLink*> links = links_;
    for (TDIBImageLink* link : links) {
        if (link->index_ == item.index_ && std::find(links_.begin(), links_.end(), link) != links_.end()) {
            link->Changed();
        }
    }
}

void TDIBImageList::NotifyAll() {
    const std::vector<TDIBImageLink*> links = links_;
    for (TDIBImageLink* link : links) {
        if (std::find(links_.begin(), links_.end(), link) != links_.end()) {
            link->Changed();
        }
    }
}

void TDIBImageList::Attach(TDIBImageLink* link) {
    links_.push_back(link);
}

void TDIBImageList::Detach(TDIBImageLink* link) {
    std::erase(links_, link);
}

TDIBImageLink::~TDIBImageLink() {
    if (list_ != nullptr) {
        list_->Detach(this);
    }
}

void TDIBImageLink::SetDIBImageList(TDIBImageList* list) {
    if (list == list_) {
        return;
    }
    if (list_ != nullptr) {
        list_->Detach(this);
    }
    list_ = list;
    if (list_ != nullptr) {
        list_->Attach(this);
    }
    Changed();
}

void TDIBImageLink::SetDIBIndex(int index) {
    index = std::max(index, -1);
    if (index == index_) {
        return;
    }
    index_ = index;
    Changed();
}

TDIBImagesItem* TDIBImageLink::Item() const {
    return list_ != nullptr ? list_->Item(index_) : nullptr;
}

const TMemoryDIB* TDIBImageLink::Image() const {
    const TDIBImagesItem* item = Item();
    return item != nullptr ? &item->DIB() : nullptr;
}

void TDIBImageLink::Changed() {
    if (on_change_) {
        on_change_();
    }
}

StoredImage StoredImageOf(const TAbstractSuperDIB& dib) {
    StoredImage image;
    image.angle = dib.Angle();
    image.auto_size = dib.AutoSize();
    image.masked = dib.Masked();
    image.opacity = dib.Opacity();
    image.scale = static_cast<double>(dib.ScaleX());
    image.transparent = dib.Transparent();
    image.transparent_fixed = dib.TransparentMode() == TTransparentMode::tmFixed;
    // The fixed colour is stored even in tmAuto, where TransparentColor() reads the pixel instead.
    TMemoryDIB probe;
    probe.Assign(dib);
    probe.SetTransparentMode(TTransparentMode::tmFixed);
    image.transparent_color = probe.TransparentColor();
    image.image.width = dib.Width();
    image.image.height = dib.Height();
    image.image.pixels.assign(dib.Bits(), dib.Bits() + dib.PixelCount());
    return image;
}

void ApplyStoredProperties(TAbstractSuperDIB& dib, const StoredImage& image) {
    dib.SetAngle(image.angle);
    dib.SetScale(image.scale);
    dib.SetOpacity(image.opacity);
    dib.SetMasked(image.masked);
    dib.SetTransparent(image.transparent);
    dib.SetTransparentColor(image.transparent_color);
    dib.SetTransparentMode(image.transparent_fixed ? TTransparentMode::tmFixed : TTransparentMode::tmAuto);
    dib.SetAutoSize(image.auto_size);
}

} // namespace kavlo
