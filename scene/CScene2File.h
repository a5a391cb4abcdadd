#pragma once
// The object file of one mission, "scene2.bin". Reading walks the whole file once:
// the header and five fixed sections are kept here, and every object of the three
// lists is created, read and handed to the owner (the mission). Writing produces a
// complete new file, "scene2.bin.Verdax" beside the original, from what this file
// and the owner hold; "scene2.bin" itself is never opened for writing.
//
// The file is one scene chunk 0x4C53 whose size is the file's length, holding the
// sections, written in this order:
//
//   0x0001  header: u16 word 1, u16 word 2, the header text with a zero byte
//   0xAFFF  8 bytes     0x3200  12 bytes    0x3010  u32    0x3011  u32    0x3211  8 bytes
//   0x4000  the things, one 0x4010 element each
//   0xAE20  the thing data, one 0xAE21 element each
//   0xAE02  any number of bytes, only when it was read
//   0xAE50  the mission scripts, one 0xAE51 element each
//
// On reading the sections may come in any order, any may be missing, and a section
// that comes twice is read twice. The fixed sections and 0xAE02 are carried without
// being interpreted. Each top-level chunk must use exactly its declared size.

#include "model/FileBytes.h"
#include "scene/CMemoryReadBuffer.h"
#include "scene/CMemoryWriteBuffer.h"
#include "scene/CSceneObject.h"

#include <array>
#include <cstddef>
#include <istream>
#include <string_view>

class ISceneFileOwner;

class CScene2File : public CSceneObject {
public:
    static constexpr std::string_view kFileName = "scene2.bin";
    static constexpr std::string_view kOutputSuffix = ".Verdax";
    // The header text of every file written: the marker, then our banner line.
    static constexpr std::string_view kHeaderMarker = "THIS FILE WAS MODIFIED USING VERDAX ";
    static constexpr std::string_view kHeaderBanner =
        "- Verdax, the world editor for the missions of Dravo: objects written anew -";

    CScene2File();
    ~CScene2File() override;

    // The owner's folder and lists are used by Read and Write; not owned.
    void SetOwner(ISceneFileOwner* owner) { owner_ = owner; }

    // Reads "scene2.bin" from the owner's folder completely, handing every object to
    // the owner. Objects handed over before a failure stay with the owner. A read
    // starts from an empty file (header, fixed sections, 0xAE02 and its flag), and a
    // failed one leaves it empty again.
    void Read();
    // Writes "scene2.bin.Verdax" in the owner's folder completely, replacing any
    // previous one only once the whole new file is on disk (FileReplacement.h). A
    // failure keeps its code (3003 no file could be made or put in place, 3006 the
    // write failed, 3004 the flush failed) and its text names the output file and the
    // system's reason, such as ".../scene2.bin.Verdax: No space left on device".
    void Write();

    // The same walks on a stream holding (or receiving) the whole file.
    void ReadFrom(std::iostream& stream);
    void WriteTo(std::iostream& stream);

    std::uint16_t GetHeaderWord1() const { return headerWord1_; }
    std::uint16_t GetHeaderWord2() const { return headerWord2_; }
    const std::string& GetHeaderText() const { return headerText_; }
    const std::array<std::uint8_t, 8>& GetDataAFFF() const { return dataAFFF_; }
    const std::array<std::uint8_t, 12>& GetData3200() const { return data3200_; }
    std::uint32_t GetValue3010() const { return value3010_; }
    std::uint32_t GetValue3011() const { return value3011_; }
    const std::array<std::uint8_t, 8>& GetData3211() const { return data3211_; }
    bool HasDataAE02() const { return hasAE02_; }
    const std::vector<std::uint8_t>& GetDataAE02() const { return dataAE02_; }

private:
    // Everything read from a file back to its state at construction.
    void ClearContent();
    // Gives back the memory of the file's window.
    void ReleaseImage();
    void ReadSections();
    std::uint64_t ReadSection(std::uint16_t id, std::uint32_t size);
    std::uint64_t ReadHeader(std::uint32_t size);
    std::uint64_t ReadDataAE02(std::uint32_t size);
    template <class Element, class Handoff>
    std::uint64_t ReadList(std::uint32_t size, Handoff handoff);

    void WriteSections();
    std::uint32_t WriteHeader();
    template <class List>
    std::uint32_t WriteList(std::uint16_t id, const List& elements);

    // The file's bytes while it is read, and while it is written; the stream binding
    // points to one of the two streams between calls.
    CMemoryReadBuffer imageBuffer_;
    std::iostream image_{&imageBuffer_};
    CMemoryWriteBuffer output_;
    std::iostream outputStream_{&output_};
    // About the size of the next file written: the last one read or written.
    std::size_t expectedBytes_ = 0;
    ISceneFileOwner* owner_ = nullptr;
    std::uint16_t headerWord1_ = 0;
    std::uint16_t headerWord2_ = 0;
    std::string headerText_;
    std::array<std::uint8_t, 8> dataAFFF_{};
    std::array<std::uint8_t, 12> data3200_{};
    std::uint32_t value3010_ = 0;
    std::uint32_t value3011_ = 0;
    std::array<std::uint8_t, 8> data3211_{};
    std::vector<std::uint8_t> dataAE02_;
    bool hasAE02_ = false;
};
