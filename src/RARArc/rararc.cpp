#include "RARArc/rararc.h"

#include <algorithm>

#include "platform/codepage.h"

namespace kavlo {

namespace {

// The library calls back without saying for which component; one walk at a time keeps the answer
// unambiguous and keeps a handler nested in a progress event from starting a second walk.
TRAR* current_walk = nullptr;

constexpr uint32_t kCommentBufferSize = 65535;
constexpr size_t kMaxEntryName = 260;

class WalkGuard {
public:
    explicit WalkGuard(TRAR& component) : owns_(current_walk == nullptr) {
        if (owns_) {
            current_walk = &component;
        }
    }
    ~WalkGuard() {
        if (owns_) {
            current_walk = nullptr;
        }
    }
    WalkGuard(const WalkGuard&) = delete;
    WalkGuard& operator=(const WalkGuard&) = delete;
    bool owns() const { return owns_; }

private:
    bool owns_;
};

} // namespace

bool CaseBlindLess::operator()(std::string_view a, std::string_view b) const {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(UpperCase1250(x)) < static_cast<unsigned char>(UpperCase1250(y));
    });
}

std::string TRAR::ErrorText(int code) {
    switch (code) {
        case kRarEndArchive:
            return "End of archive";
        case kRarNoMemory:
            return "Not enough memory to initialize data structures";
        case kRarBadData:
            return "CRC error, data damaged";
        case kRarBadArchive:
            return "File is not valid RAR archive";
        case kRarUnknownFormat:
            return "Unknown comment format";
        case kRarEOpen:
            return "File open error";
        case kRarECreate:
            return "File create error";
        case kRarEClose:
            return "File close error";
        case kRarERead:
            return "Read error";
        case kRarEWrite:
            return "Write error";
        case kRarSmallBuf:
            return "Buffer is too small for comment";
        default:
            return "Unknown error";
    }
}

void TRAR::RaiseError(int code) {
    if (OnError) {
        OnError(*this, code);
    }
}

void TRAR::RaiseComment(int comment_state, const std::string& comment) {
    if (comment_state == kRarCommentRead && OnComment) {
        OnComment(*this, comment);
    }
}

void TRAR::RegisterCallbacks(RarHandle handle, bool with_data) {
    if (OnVolumeChange) {
        unrar_.SetChangeVolProc(handle, [this](std::string& arc_name, int mode) {
            return OnVolumeChange ? OnVolumeChange(*this, arc_name, mode) : 0;
        });
    }
    if (with_data && OnProcessData) {
        unrar_.SetProcessDataProc(handle, [this](const unsigned char* block, int block_size) {
            position_ += block_size;
            return OnProcessData ? OnProcessData(*this, block, block_size, position_) : 1;
        });
    }
}

bool TRAR::ListArchive() {
    WalkGuard guard(*this);
    if (!guard.owns()) {
        RaiseError(kRarUnknown);
        return false;
    }
    RarOpenData open{
        .arc_name = ArchiveName, .open_mode = RarOpenMode::List, .comment_buffer_size = kCommentBufferSize};
    const RarHandle handle = unrar_.OpenArchive(open);
    if (open.open_result != kRarSuccess || handle == 0) {
        RaiseError(open.open_result != kRarSuccess ? open.open_result : kRarEOpen);
        unrar_.CloseArchive(handle);
        return false;
    }
    RaiseComment(open.comment_state, open.comment);
    RegisterCallbacks(handle, false);
    bool ok = true;
    RarHeader header;
    int code = kRarSuccess;
    while ((code = unrar_.ReadHeader(handle, header)) == kRarSuccess) {
        if (OnListFile) {
            OnListFile(*this, header);
        }
        if (Stop) {
            Stop = false;
            unrar_.CloseArchive(handle);
            return false;
        }
        RaiseComment(header.comment_state, header.comment);
        if (const int skipped = unrar_.ProcessFile(handle, RarOperation::Skip, std::nullopt); skipped != 0) {
            RaiseError(skipped);
            unrar_.CloseArchive(handle);
            return false;
        }
    }
    // The normal end is no error; any other code of a header is damage, and a damaged archive must not
    // pass for a complete listing.
    if (code != kRarEndArchive) {
        ok = false;
        RaiseError(code == kRarBadData ? kRarBadData : code);
    }
    unrar_.CloseArchive(handle);
    return ok;
}

bool TRAR::ExtractArchive() {
    if (ArchiveName.empty()) {
        RaiseError(kRarBadArchive);
        return false;
    }
    WalkGuard guard(*this);
    if (!guard.owns()) {
        RaiseError(kRarUnknown);
        return false;
    }
    RarOpenData open{.arc_name = ArchiveName,
                     .open_mode = RarOpenMode::Extract,
                     .comment_buffer_size = kCommentBufferSize};
    const RarHandle handle = unrar_.OpenArchive(open);
    if (open.open_result != kRarSuccess || handle == 0) {
        unrar_.CloseArchive(handle);
        RaiseError(open.open_result != kRarSuccess ? open.open_result : kRarEOpen);
        return false;
    }
    RaiseComment(open.comment_state, open.comment);
    RegisterCallbacks(handle, true);
    const std::optional<std::string_view> destination =
        TargetDir.empty() ? std::nullopt : std::optional<std::string_view>(TargetDir);

    bool result = true;
    RarHeader header;
    for (;;) {
        if (const int code = unrar_.ReadHeader(handle, header); code != kRarSuccess) {
            if (code != kRarEndArchive) {
                // A header that cannot be read ends the walk short: the extraction is not complete.
                result = false;
                RaiseError(code);
            }
            break;
        }
        const std::string name = header.file_name.substr(0, kMaxEntryName);
        if (Stop) {
            Stop = false;
            result = false;
            break;
        }
        if (!FilesToExtract.empty() && !FilesToExtract.contains(name)) {
            if (const int code = unrar_.ProcessFile(handle, RarOperation::Skip, destination); code != 0) {
                result = false;
                RaiseError(code);
                break;
            }
            continue;
        }
        if (OnExtracting) {
            OnExtracting(*this, header);
        }
        position_ = 0;
        if ((header.flags & kRarFlagEncrypted) != 0 && OnReqPassword) {
            std::string password;
            OnReqPassword(*this, header, password);
            if (!password.empty()) {
                unrar_.SetPassword(handle, password);
            }
        }
        const int code = unrar_.ProcessFile(handle, RarOperation::Extract, destination);
        if (OnExtract) {
            OnExtract(*this, header, code == kRarSuccess);
        }
        if (code != kRarSuccess) {
            result = false;
            RaiseError(code);
            if (code != kRarECreate && code != kRarBadData) {
                break;
            }
        }
    }
    unrar_.CloseArchive(handle);
    return result;
}

} // namespace kavlo
