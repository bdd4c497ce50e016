// The archive reader over arbitrary bytes. The input's first byte gives a
// number of reads (0 to 31), the next bytes name them (one byte each: the
// kind of value, and for a byte block its size), and the rest is the data
// they read. Each read must consume exactly its value's bytes or fail
// without reading past the data; a failure is sticky. Every value read is
// then written with the archive writer and read back with the same reads:
// the second reading must give the same values and use up the written bytes.

#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "platform/archive.h"

namespace {

using korvo::ArchiveReader;
using korvo::ArchiveWriter;
using korvo::fuzz::Check;

constexpr int kKinds = 11;

// Performs one read of the given kind and appends the value read to log in
// the writer's encoding. Returns the number of bytes a fixed-size value
// takes, or 0 for strings and object headers, whose size varies.
std::size_t ReadOne(ArchiveReader& in, std::uint8_t op, ArchiveWriter& log) {
    switch (op % kKinds) {
        case 0: log.WriteByte(in.ReadByte()); return 1;
        case 1: log.WriteWord(in.ReadWord()); return 2;
        case 2: log.WriteInt32(in.ReadInt32()); return 4;
        case 3: log.WriteUInt32(in.ReadUInt32()); return 4;
        case 4: log.WriteBool(in.ReadBool()); return 1;
        case 5: log.WriteColor(in.ReadColor()); return 4;
        case 6: log.WriteRect(in.ReadRect()); return 16;
        case 7: log.WriteFont(in.ReadFont()); return 92;
        case 8: log.WriteString(in.ReadString()); return 0;
        case 9: {
            std::vector<std::uint8_t> block(op / kKinds);
            const bool ok = in.ReadBytes(block);
            Check(ok == in.Ok(), "ReadBytes reports the reader's state");
            log.WriteBytes(block);
            return block.size();
        }
        default:
            if (in.ReadObjectHeader("CCWData", 6000)) log.WriteObjectHeader("CCWData", 6000);
            return 0;
    }
}

bool AllZero(std::span<const std::uint8_t> bytes) {
    for (std::uint8_t b : bytes)
        if (b != 0) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::size_t count = std::min<std::size_t>(data[0] % 32, size - 1);
    const std::span<const std::uint8_t> ops(data + 1, count);
    const std::span<const std::uint8_t> input(data + 1 + count, size - 1 - count);

    ArchiveReader in(input);
    ArchiveWriter log;
    std::vector<std::uint8_t> okOps;  // the reads that succeeded, in order
    for (std::uint8_t op : ops) {
        const bool wasOk = in.Ok();
        const std::size_t before = in.Position();
        const std::size_t logBefore = log.Bytes().size();
        const std::size_t fixed = ReadOne(in, op, log);
        Check(in.Position() <= input.size(), "the reader never passes the end of its data");
        if (!wasOk) {
            Check(!in.Ok(), "a failure is sticky");
            Check(in.Position() == before, "a failed reader consumes nothing");
        }
        if (in.Ok()) {
            if (fixed > 0) Check(in.Position() == before + fixed, "a value consumes exactly its size");
            okOps.push_back(op);
        } else {
            Check(!in.ErrorMessage().empty(), "a failure is described");
            if (fixed > 0 && wasOk) Check(in.Position() == before, "a fixed-size read that fails consumes nothing");
            if (fixed > 0) {
                Check(AllZero(std::span(log.Bytes()).subspan(logBefore)), "a failed read returns zero");
            }
            // The value of a failed read is not part of the round trip.
            std::vector<std::uint8_t> kept(log.Bytes().begin(), log.Bytes().begin() + logBefore);
            log = ArchiveWriter();
            log.WriteBytes(kept);
        }
    }
    Check(log.Ok(), "every value read can be written");

    // Round trip: the written values read back the same.
    const std::vector<std::uint8_t> written = log.Bytes();
    ArchiveReader again(written);
    ArchiveWriter relog;
    for (std::uint8_t op : okOps) ReadOne(again, op, relog);
    Check(again.Ok(), "written values read back");
    Check(again.AtEnd(), "reading back uses up the written bytes");
    Check(relog.Bytes() == written, "values read back equal the values written");
    return 0;
}
