#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace kavlo {

// Result codes of the unrar calls, with the values the RAR library's interface gives them.
enum RarCode : int {
    kRarSuccess = 0,
    kRarEndArchive = 10,
    kRarNoMemory = 11,
    kRarBadData = 12,
    kRarBadArchive = 13,
    kRarUnknownFormat = 14,
    kRarEOpen = 15,
    kRarECreate = 16,
    kRarEClose = 17,
    kRarERead = 18,
    kRarEWrite = 19,
    kRarSmallBuf = 20,
    kRarUnknown = 21,
    kRarMissingPassword = 22,
    kRarBadPassword = 24,
};

enum class RarOpenMode : int { List = 0, Extract = 1 };
enum class RarOperation : int { Skip = 0, Test = 1, Extract = 2 };

// Bits of RarHeader::flags.
enum RarHeaderFlag : uint32_t {
    kRarFlagEncrypted = 0x04,
    kRarFlagComment = 0x08,
    kRarFlagSolid = 0x10,
    kRarFlagDirectory = 0x20,
};

// Comment states of the open call and of a header.
enum RarCommentState : int {
    kRarNoComment = 0,
    kRarCommentRead = 1,
    kRarCommentUnknownFormat = kRarUnknownFormat,
    kRarCommentTooBig = kRarSmallBuf,
};

// RAROpenArchive's record: what goes in, and the open result and archive comment that come out.
struct RarOpenData {
    std::string arc_name = {}; // Windows path, Windows-1250
    RarOpenMode open_mode = RarOpenMode::List;
    uint32_t comment_buffer_size = 0; // 0: comments are not read
    // Out.
    int open_result = kRarSuccess;
    std::string comment = {};
    int comment_state = kRarNoComment;
};

// RARReadHeader's record for one entry. Sizes are 64-bit: archives of several GB are ordinary.
struct RarHeader {
    std::string arc_name = {};
    std::string file_name = {}; // as stored, at most 260 bytes, Windows-1250, "\" separated
    uint32_t flags = 0;
    uint64_t pack_size = 0;
    uint64_t unp_size = 0;
    uint32_t host_os = 0;
    uint32_t file_crc = 0;
    uint32_t file_time = 0; // MS-DOS date and time
    uint32_t unp_ver = 0;
    uint32_t method = 0; // 0x30 stored .. 0x35 best
    uint32_t file_attr = 0;
    std::string comment = {};
    int comment_state = kRarNoComment;
};

// Called synchronously inside ProcessFile with each unpacked block; non-zero continues, zero stops the
// entry with an error.
using RarProcessDataProc = std::function<int(const unsigned char* block, int block_size)>;
// Asked for the next volume (mode 0) or told of a change (mode 1); the name may be replaced. Non-zero
// goes on, zero gives up.
using RarChangeVolProc = std::function<int(std::string& arc_name, int mode)>;

// An open archive; 0 is no archive.
using RarHandle = uint32_t;

// The seven unrar calls. One walk: open, then ReadHeader and ProcessFile in turn until ReadHeader gives
// kRarEndArchive, then close. Extraction never writes outside the destination: an entry whose name
// or link would leave it is refused with kRarECreate and nothing is written for it.
class Unrar {
public:
    virtual ~Unrar() = default;
    // 0 when the archive cannot be opened; data.open_result says why.
    virtual RarHandle OpenArchive(RarOpenData& data) = 0;
    virtual int ReadHeader(RarHandle handle, RarHeader& header) = 0;
    // dest_dir: a Windows path; none means the current directory.
    virtual int ProcessFile(RarHandle handle, RarOperation operation,
                            std::optional<std::string_view> dest_dir) = 0;
    virtual void SetProcessDataProc(RarHandle handle, RarProcessDataProc proc) = 0;
    virtual void SetChangeVolProc(RarHandle handle, RarChangeVolProc proc) = 0;
    virtual void SetPassword(RarHandle handle, std::string_view password) = 0;
    virtual int CloseArchive(RarHandle handle) = 0;
};

} // namespace kavlo
