#include "skin/formats/lzh.h"

#include <algorithm>
#include <array>
#include <memory>
#include <new>

namespace kavlo {

const Guid LzhCompressor::kId = {
    0xBC0C10FC, 0xE045, 0x41E7, {0xA3, 0x7C, 0xB8, 0x6A, 0xF2, 0x13, 0x20, 0xB8}};

namespace {

constexpr int N = 4096;                     // window size
constexpr int F = 60;                       // look-ahead size, the longest match
constexpr int THRESHOLD = 2;                // a match must be longer than this to be coded
constexpr int NIL = N;                      // "no node" in the search trees
constexpr int N_CHAR = 256 - THRESHOLD + F; // literals 0..255, then match lengths 3..60
constexpr int T = N_CHAR * 2 - 1;           // nodes of the Huffman tree
constexpr int R = T - 1;                    // its root
constexpr unsigned MAX_FREQ = 0x8000;       // the tree is rebuilt with halved counts here
constexpr size_t kHeaderSize = 4;           // the unpacked length, u32 LE

// The fixed prefix code for the upper 6 bits of a match position: codes of 3..8 bits handed out in
// order, so near positions (more frequent) get the short codes. `code` is left-aligned in a byte;
// the d_ tables map any byte that starts with a code back to its value and length.
struct PositionCodes {
    std::array<uint8_t, 64> p_len{};
    std::array<uint8_t, 64> p_code{};
    std::array<uint8_t, 256> d_code{};
    std::array<uint8_t, 256> d_len{};
};

constexpr PositionCodes MakePositionCodes() {
    constexpr int kCodesOfLength[9] = {0, 0, 0, 1, 3, 8, 12, 24, 16};
    PositionCodes codes;
    int value = 0;
    unsigned code = 0;
    for (int length = 3; length <= 8; ++length) {
        for (int n = 0; n < kCodesOfLength[length]; ++n, ++value, ++code) {
            codes.p_len[value] = static_cast<uint8_t>(length);
            codes.p_code[value] = static_cast<uint8_t>(code << (8 - length));
            for (unsigned b = 0; b < (1u << (8 - length)); ++b) {
                codes.d_code[codes.p_code[value] + b] = static_cast<uint8_t>(value);
                codes.d_len[codes.p_code[value] + b] = static_cast<uint8_t>(length);
            }
        }
        code <<= 1;
    }
    return codes;
}

constexpr PositionCodes kPositionCodes = MakePositionCodes();
static_assert(kPositionCodes.p_code[1] == 0x20 && kPositionCodes.p_code[4] == 0x50 &&
              kPositionCodes.p_code[12] == 0x90 && kPositionCodes.p_code[24] == 0xC0 &&
              kPositionCodes.p_code[48] == 0xF0 && kPositionCodes.p_code[63] == 0xFF);

// The adaptive Huffman tree. Nodes are kept sorted by frequency (the sibling property), children
// in pairs at son[n] and son[n] + 1; leaves are marked by son >= T, and prnt[T + c] finds the leaf
// of symbol c.
struct HuffmanTree {
    std::array<unsigned, T + 1> freq;
    std::array<int, T + N_CHAR> prnt;
    std::array<int, T> son;

    void Start() {
        for (int i = 0; i < N_CHAR; ++i) {
            freq[i] = 1;
            son[i] = i + T;
            prnt[i + T] = i;
        }
        for (int i = 0, j = N_CHAR; j <= R; i += 2, ++j) {
            freq[j] = freq[i] + freq[i + 1];
            son[j] = i;
            prnt[i] = prnt[i + 1] = j;
        }
        freq[T] = 0xFFFF; // sentinel that stops the re-ordering scans
        prnt[R] = 0;
    }

    // Halves every count and rebuilds the tree, so counts fit 16 bits and old data weighs less.
    void Reconstruct() {
        int j = 0;
        for (int i = 0; i < T; ++i) {
            if (son[i] >= T) {
                freq[j] = (freq[i] + 1) / 2;
                son[j] = son[i];
                ++j;
            }
        }
        for (int i = 0, k = N_CHAR; k < T; i += 2, ++k) {
            const unsigned f = freq[i] + freq[i + 1];
            int at = k - 1;
            while (f < freq[at]) {
                --at;
            }
            ++at;
            // Insert the new node at its sorted place, moving the k - at nodes above it up by one.
            std::copy_backward(freq.begin() + at, freq.begin() + k, freq.begin() + k + 1);
            freq[at] = f;
            std::copy_backward(son.begin() + at, son.begin() + k, son.begin() + k + 1);
            son[at] = i;
        }
        for (int i = 0; i < T; ++i) {
            const int k = son[i];
            prnt[k] = i;
            if (k < T) {
                prnt[k + 1] = i;
            }
        }
    }

    // Counts one more symbol c and restores the order by swapping nodes on the way to the root.
    void Update(int c) {
        if (freq[R] == MAX_FREQ) {
            Reconstruct();
        }
        c = prnt[c + T];
        do {
            const unsigned k = ++freq[c];
            int l = c + 1;
            if (k > freq[l]) {
                while (k > freq[++l]) {
                }
                --l;
                freq[c] = freq[l];
                freq[l] = k;

                const int i = son[c];
                prnt[i] = l;
                if (i < T) {
                    prnt[i + 1] = l;
                }
                const int j = son[l];
                son[l] = i;
                prnt[j] = c;
                if (j < T) {
                    prnt[j + 1] = c;
                }
                son[c] = j;
                c = l;
            }
        } while ((c = prnt[c]) != 0);
    }
};

class BitWriter {
public:
    BitWriter(std::string& out, size_t limit) : out_(out), limit_(limit) {}

    // The low `count` bits of `bits` (count <= 16), most significant first.
    void Put(uint32_t bits, int count) {
        buffer_ = (buffer_ << count) | (bits & ((1u << count) - 1));
        count_ += count;
        while (count_ >= 8) {
            count_ -= 8;
            out_ += static_cast<char>((buffer_ >> count_) & 0xFF);
        }
        buffer_ &= (1u << count_) - 1;
    }
    void Flush() {
        if (count_ > 0) {
            out_ += static_cast<char>((buffer_ << (8 - count_)) & 0xFF);
            count_ = 0;
            buffer_ = 0;
        }
    }
    bool OverLimit() const { return out_.size() + (count_ > 0 ? 1 : 0) > limit_; }

private:
    std::string& out_;
    size_t limit_;
    uint32_t buffer_ = 0;
    int count_ = 0;
};

class BitReader {
public:
    explicit BitReader(std::string_view data) : data_(data) {}

    // Past the end every bit reads 0 and the reader remembers that the stream was cut.
    int GetBit() {
        if (count_ == 0) {
            if (pos_ >= data_.size()) {
                truncated_ = true;
                return 0;
            }
            buffer_ = static_cast<uint8_t>(data_[pos_++]);
            count_ = 8;
        }
        --count_;
        return static_cast<int>((buffer_ >> count_) & 1);
    }
    unsigned GetBits(int count) {
        unsigned value = 0;
        for (int i = 0; i < count; ++i) {
            value = (value << 1) | static_cast<unsigned>(GetBit());
        }
        return value;
    }
    bool Truncated() const { return truncated_; }

private:
    std::string_view data_;
    size_t pos_ = 0;
    unsigned buffer_ = 0;
    int count_ = 0;
    bool truncated_ = false;
};

// The encoder's window and its binary search trees: one tree per first byte (roots N + 1 + byte),
// nodes are window positions ordered by the F bytes that start there.
struct EncoderTables {
    HuffmanTree tree;
    std::array<uint8_t, N + F - 1> text_buf; // the last F - 1 bytes mirror the first ones
    std::array<int, N + 1> lson;
    std::array<int, N + 257> rson;
    std::array<int, N + 1> dad;
    int match_position;
    int match_length;

    void InitTree() {
        std::fill(rson.begin() + N + 1, rson.end(), NIL);
        std::fill(dad.begin(), dad.begin() + N, NIL);
    }

    // Inserts the string at r and finds the longest match for it; of equal matches the nearest.
    void InsertNode(int r) {
        int cmp = 1;
        const uint8_t* key = &text_buf[r];
        int p = N + 1 + key[0];
        rson[r] = lson[r] = NIL;
        match_length = 0;
        for (;;) {
            int& next = cmp >= 0 ? rson[p] : lson[p];
            if (next == NIL) {
                next = r;
                dad[r] = p;
                return;
            }
            p = next;
            int i = 1;
            for (; i < F; ++i) {
                cmp = key[i] - text_buf[p + i];
                if (cmp != 0) {
                    break;
                }
            }
            if (i > THRESHOLD) {
                const int position = ((r - p) & (N - 1)) - 1;
                if (i > match_length) {
                    match_position = position;
                    match_length = i;
                    if (match_length >= F) {
                        break;
                    }
                } else if (i == match_length && position < match_position) {
                    match_position = position;
                }
            }
        }
        // A full match: r takes p's place in the tree, the older p leaves it.
        dad[r] = dad[p];
        lson[r] = lson[p];
        rson[r] = rson[p];
        dad[lson[p]] = r;
        dad[rson[p]] = r;
        if (rson[dad[p]] == p) {
            rson[dad[p]] = r;
        } else {
            lson[dad[p]] = r;
        }
        dad[p] = NIL;
    }

    void DeleteNode(int p) {
        if (dad[p] == NIL) {
            return;
        }
        int q = 0;
        if (rson[p] == NIL) {
            q = lson[p];
        } else if (lson[p] == NIL) {
            q = rson[p];
        } else {
            q = lson[p];
            if (rson[q] != NIL) {
                do {
                    q = rson[q];
                } while (rson[q] != NIL);
                rson[dad[q]] = lson[q];
                dad[lson[q]] = dad[q];
                lson[q] = lson[p];
                dad[lson[p]] = q;
            }
            rson[q] = rson[p];
            dad[rson[p]] = q;
        }
        dad[q] = dad[p];
        if (rson[dad[p]] == p) {
            rson[dad[p]] = q;
        } else {
            lson[dad[p]] = q;
        }
        dad[p] = NIL;
    }
};

struct DecoderTables {
    HuffmanTree tree;
    std::array<uint8_t, N> text_buf;
};

// Sends the code of symbol c: the path from the root to its leaf, a 1 for each second child. The
// path is collected whole, as it can grow longer than 16 bits when the counts are lopsided.
void EncodeChar(HuffmanTree& tree, BitWriter& out, int c) {
    std::array<uint8_t, T> path;
    int depth = 0;
    for (int k = tree.prnt[c + T]; k != R; k = tree.prnt[k]) {
        path[depth++] = static_cast<uint8_t>(k & 1);
    }
    while (depth > 0) {
        out.Put(path[--depth], 1);
    }
    tree.Update(c);
}

void EncodePosition(BitWriter& out, unsigned position) {
    const unsigned upper = position >> 6;
    out.Put(kPositionCodes.p_code[upper] >> (8 - kPositionCodes.p_len[upper]), kPositionCodes.p_len[upper]);
    out.Put(position & 0x3F, 6);
}

int DecodeChar(HuffmanTree& tree, BitReader& in) {
    int c = tree.son[R];
    while (c < T) {
        c = tree.son[c + in.GetBit()];
    }
    c -= T;
    tree.Update(c);
    return c;
}

unsigned DecodePosition(BitReader& in) {
    unsigned byte = in.GetBits(8);
    const unsigned upper = kPositionCodes.d_code[byte];
    // The code took p_len of the 8 bits read; the 6 plain bits need p_len - 2 more.
    const int more = kPositionCodes.d_len[byte] - 2;
    byte = (byte << more) | in.GetBits(more);
    return (upper << 6) | (byte & 0x3F);
}

uint32_t ReadLe32(std::string_view bytes) {
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i) {
        value |= static_cast<uint32_t>(static_cast<uint8_t>(bytes[i])) << (8 * i);
    }
    return value;
}

void AppendLe32(std::string& out, uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

// The LZSS loop over `raw`, sending literals and (length, position) pairs through the Huffman tree.
bool EncodeBody(EncoderTables& t, std::string_view raw, BitWriter& out) {
    size_t next = 0;
    std::fill(t.text_buf.begin(), t.text_buf.end(), 0);
    std::fill(t.text_buf.begin(), t.text_buf.begin() + (N - F), ' ');
    t.InitTree();
    int s = 0;
    int r = N - F;
    int len = 0;
    for (; len < F && next < raw.size(); ++len) {
        t.text_buf[r + len] = static_cast<uint8_t>(raw[next++]);
    }
    for (int i = 1; i <= F; ++i) {
        t.InsertNode(r - i);
    }
    t.InsertNode(r);
    do {
        t.match_length = std::min(t.match_length, len);
        if (t.match_length <= THRESHOLD) {
            t.match_length = 1;
            EncodeChar(t.tree, out, t.text_buf[r]);
        } else {
            EncodeChar(t.tree, out, 255 - THRESHOLD + t.match_length);
            EncodePosition(out, static_cast<unsigned>(t.match_position));
        }
        if (out.OverLimit()) {
            return false;
        }
        const int last_match_length = t.match_length;
        int i = 0;
        for (; i < last_match_length && next < raw.size(); ++i) {
            const uint8_t c = static_cast<uint8_t>(raw[next++]);
            t.DeleteNode(s);
            t.text_buf[s] = c;
            if (s < F - 1) {
                t.text_buf[s + N] = c;
            }
            s = (s + 1) & (N - 1);
            r = (r + 1) & (N - 1);
            t.InsertNode(r);
        }
        for (; i < last_match_length; ++i) {
            t.DeleteNode(s);
            s = (s + 1) & (N - 1);
            r = (r + 1) & (N - 1);
            if (--len > 0) {
                t.InsertNode(r);
            }
        }
    } while (len > 0);
    out.Flush();
    return !out.OverLimit();
}

std::string LzhError(const char* what) {
    return std::string("LZH : ") + what;
}

} // namespace

CodecResult LzhEncode(std::string_view raw, size_t max_payload) {
    if (raw.size() > kMaxUnpackedSize) {
        return CodecResult::Failure(LzhError("the data is too large to pack"));
    }
    std::unique_ptr<EncoderTables> tables(new (std::nothrow) EncoderTables);
    if (!tables) {
        return CodecResult::Failure(lzh::kNoMemory);
    }
    tables->tree.Start();
    CodecResult result;
    result.bytes.reserve(std::min(raw.size(), max_payload) + 1);
    AppendLe32(result.bytes, static_cast<uint32_t>(raw.size()));
    BitWriter out(result.bytes, max_payload);
    if (out.OverLimit() || (!raw.empty() && !EncodeBody(*tables, raw, out))) {
        return CodecResult::Failure(kCompressedLarger);
    }
    return result;
}

CodecResult LzhDecode(std::string_view payload, uint32_t max_size) {
    if (payload.size() < kHeaderSize) {
        return CodecResult::Failure(LzhError("the packed data ends too early"));
    }
    const uint32_t size = ReadLe32(payload);
    if (size > max_size) {
        return CodecResult::Failure(LzhError("the unpacked length is too large"));
    }
    std::unique_ptr<DecoderTables> tables(new (std::nothrow) DecoderTables);
    if (!tables) {
        return CodecResult::Failure(lzh::kNoMemory);
    }
    DecoderTables& t = *tables;
    t.tree.Start();
    // Positions from N - F on start as zeros, as the published coder leaves them; a stream may copy
    // from there before anything is written.
    std::fill(t.text_buf.begin(), t.text_buf.end(), 0);
    std::fill(t.text_buf.begin(), t.text_buf.begin() + (N - F), ' ');
    BitReader in(payload.substr(kHeaderSize));
    CodecResult result;
    std::string& out = result.bytes;
    // The declared length is not trusted with memory: the buffer grows with what really decodes.
    out.reserve(std::min<size_t>(size, 1u << 20));
    int r = N - F;
    while (out.size() < size) {
        const int c = DecodeChar(t.tree, in);
        if (c < 256) {
            out += static_cast<char>(c);
            t.text_buf[r] = static_cast<uint8_t>(c);
            r = (r + 1) & (N - 1);
        } else {
            const unsigned from = (static_cast<unsigned>(r) - DecodePosition(in) - 1) & (N - 1);
            const int length = c - 255 + THRESHOLD;
            if (in.Truncated()) {
                break;
            }
            if (out.size() + static_cast<size_t>(length) > size) {
                return CodecResult::Failure(LzhError("a match runs past the unpacked length"));
            }
            for (int k = 0; k < length; ++k) {
                const uint8_t byte = t.text_buf[(from + static_cast<unsigned>(k)) & (N - 1)];
                out += static_cast<char>(byte);
                t.text_buf[r] = byte;
                r = (r + 1) & (N - 1);
            }
        }
        if (in.Truncated()) {
            break;
        }
    }
    if (in.Truncated()) {
        return CodecResult::Failure(LzhError("the packed data ends too early"));
    }
    return result;
}

CodecResult LzhCompressor::Decompress(std::string_view payload, uint32_t raw_size) const {
    // The payload repeats the unpacked length; two different lengths mean a damaged record.
    if (payload.size() >= kHeaderSize && ReadLe32(payload) != raw_size) {
        return CodecResult::Failure(LzhError("the unpacked length differs from the container's"));
    }
    return LzhDecode(payload);
}

} // namespace kavlo
