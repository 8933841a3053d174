#pragma once

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <string_view>

#include "platform/unrar.h"

namespace kavlo {

class TRAR;

// Names compared as Windows compares file names: without regard to letter case (Windows-1250).
struct CaseBlindLess {
    bool operator()(std::string_view a, std::string_view b) const;
    using is_transparent = void;
};
using TSortedStrings = std::set<std::string, CaseBlindLess>;

using TComment = std::string;

// Position is the running byte count of the current entry; the result goes back to the library
// (non-zero continues).
using TProcessDataProc =
    std::function<int(TRAR& sender, const unsigned char* addr, int block_size, int64_t position)>;
using TChangeVolProc = std::function<int(TRAR& sender, std::string& arc_name, int mode)>;
using TErrorProc = std::function<void(TRAR& sender, int error)>;
using TCommentProc = std::function<void(TRAR& sender, const TComment& comment)>;
using TListFileProc = std::function<void(TRAR& sender, const RarHeader& listed_file)>;
using TFileBeingExtracted = std::function<void(TRAR& sender, const RarHeader& e_file)>;
using TFileExtracted = std::function<void(TRAR& sender, const RarHeader& e_file, bool result)>;
using TFileBeingTested = std::function<void(TRAR& sender, const RarHeader& e_file)>;
using TFileTested = std::function<void(TRAR& sender, const RarHeader& e_file, bool result)>;
using TReqPassword = std::function<void(TRAR& sender, const RarHeader& e_file, std::string& password)>;

// The archive component: opens a RAR archive through the unrar calls, walks its entries, lists, skips
// or extracts each and reports progress, errors and results through its events. Only one walk runs in
// the program at a time; a walk started while another runs (a handler nested in a progress event) is
// refused with kRarUnknown.
class TRAR {
public:
    explicit TRAR(Unrar& unrar) : unrar_(unrar) {}
    TRAR(const TRAR&) = delete;
    TRAR& operator=(const TRAR&) = delete;

    // Windows path of the archive.
    std::string ArchiveName;
    // Entries to extract, compared without regard to case; empty means all.
    TSortedStrings FilesToExtract;
    // Kept for testing entries; no walk uses it.
    TSortedStrings FilesToTest;
    // Destination; empty means the current directory.
    std::string TargetDir;
    // Set by the owner (also from inside an event) to end the running walk at the next entry; the walk
    // clears it when it stops.
    bool Stop = false;

    TProcessDataProc OnProcessData;
    TChangeVolProc OnVolumeChange;
    TErrorProc OnError;
    TCommentProc OnComment;
    TListFileProc OnListFile;
    TFileBeingExtracted OnExtracting;
    TFileExtracted OnExtract;
    TFileBeingTested OnTesting;
    TFileTested OnTested;
    TReqPassword OnReqPassword;

    // Walks all entries without extracting, raising OnListFile for each. True when the walk reached
    // the end of the archive with no error reported.
    bool ListArchive();
    // Extracts the entries (all, or those in FilesToExtract) into TargetDir; true when no error occurred.
    bool ExtractArchive();
    // The English text of a library code, shown as it is.
    static std::string ErrorText(int code);

private:
    void RaiseError(int code);
    void RaiseComment(int comment_state, const std::string& comment);
    void RegisterCallbacks(RarHandle handle, bool with_data);

    Unrar& unrar_;
    int64_t position_ = 0; // running byte count of the current entry
};

} // namespace kavlo
