#include "wav_writer.h"

#include <stdexcept>

namespace assetgen {

Bytes wav_file(const WavFormat& format, const Bytes& data, const std::vector<InfoEntry>& info) {
    if (format.bits != 8 && format.bits != 16)
        throw std::invalid_argument("8 or 16 bits per sample only");
    const std::uint32_t block = format.bits / 8u;

    ByteWriter body;
    body.text("WAVE");

    body.text("fmt ");
    body.u32(format.fmt_with_extra_size ? 18 : 16);
    body.u16(1);  // PCM
    body.u16(1);  // mono
    body.u32(format.rate);
    body.u32(format.rate * block);
    body.u16(block);
    body.u16(format.bits);
    if (format.fmt_with_extra_size) body.u16(0);

    body.text("fact");
    body.u32(4);
    body.u32(static_cast<std::uint32_t>(data.size() / block));

    if (!info.empty()) {
        ByteWriter list;
        list.text("INFO");
        for (const InfoEntry& e : info) {
            if (e.id.size() != 4) throw std::invalid_argument("INFO ids have four characters");
            const std::size_t len = e.text.size() + 1;
            list.text(e.id);
            list.u32(static_cast<std::uint32_t>(len));
            list.text(e.text);
            list.zeros(1 + len % 2);
        }
        body.text("LIST");
        body.u32(static_cast<std::uint32_t>(list.size()));
        body.append(list.take());
    }

    body.text("data");
    body.u32(static_cast<std::uint32_t>(data.size()));
    body.append(data);
    if (data.size() % 2) body.zeros(1);

    ByteWriter file;
    file.text("RIFF");
    file.u32(static_cast<std::uint32_t>(body.size()));
    file.append(body.take());
    return file.take();
}

}  // namespace assetgen
