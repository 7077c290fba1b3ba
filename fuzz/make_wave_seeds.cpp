// Writes the seed corpus of the wave loader fuzzer: short PCM waves of the depths, channel counts
// and rates the sound bank may meet, a wave with a chunk the loader must skip, one of each other
// encoding SDL decodes, and broken ones.
//   build/quillowbee-make-wave-seeds fuzz/corpus/wave_loader
#include <cmath>
#include <cstdint>
#include <fstream>
#include <string>
#include <utility>

#include "writers/bytes.h"
#include "writers/wav_writer.h"

namespace {

std::string dir;

void Write(const std::string& name, const std::string& bytes) {
    std::ofstream(dir + "/" + name, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void Put(std::string& out, uint32_t value, int bytes) {
    writers::PutLittleEndian(out, value, bytes);
}

std::string Chunk(const std::string& id, const std::string& body) {
    return writers::WaveChunk(id, body);
}

std::string Format(int tag, int channels, int rate, int bits) {
    return writers::WaveFormatChunk({tag, channels, rate, bits});
}

std::string Riff(const std::string& chunks) {
    return writers::RiffWave(chunks);
}

// `frames` frames of a quiet 440 Hz tone.
std::string Samples(int channels, int rate, int bits, int frames) {
    std::string out;
    for (int i = 0; i < frames; ++i) {
        const double wave = 0.25 * std::sin(2 * M_PI * 440.0 * i / rate);
        for (int c = 0; c < channels; ++c) {
            if (bits == 8) {
                Put(out, static_cast<uint32_t>(128 + std::lround(wave * 127)), 1);
            } else {
                Put(out, static_cast<uint16_t>(static_cast<int16_t>(std::lround(wave * 32767))), 2);
            }
        }
    }
    return out;
}

// A format chunk with the extension block compressed encodings carry after the common fields.
std::string ExtendedFormat(int tag, int channels, int rate, int bits, int block,
                           const std::string& extension) {
    std::string body;
    Put(body, static_cast<uint32_t>(tag), 2);
    Put(body, static_cast<uint32_t>(channels), 2);
    Put(body, static_cast<uint32_t>(rate), 4);
    Put(body, static_cast<uint32_t>(rate * block / 256), 4);
    Put(body, static_cast<uint32_t>(block), 2);
    Put(body, static_cast<uint32_t>(bits), 2);
    Put(body, static_cast<uint32_t>(extension.size()), 2);
    return Chunk("fmt ", body + extension);
}

// One mono block of 4-bit ADPCM: `header` bytes, then nibbles of a slow zigzag.
std::string AdpcmBlock(const std::string& header, int block) {
    std::string out = header;
    for (int i = static_cast<int>(header.size()); i < block; ++i) {
        out.push_back(static_cast<char>((i % 7) | ((i % 5) << 4)));
    }
    return out;
}

std::string Wave(int channels, int rate, int bits, int frames) {
    return writers::ToneWav({1, channels, rate, bits}, frames);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    dir = argv[1];
    Write("pcm8_mono_11025.wav", Wave(1, 11025, 8, 120));
    Write("pcm16_mono_22050.wav", Wave(1, 22050, 16, 200));
    Write("pcm16_stereo_44100.wav", Wave(2, 44100, 16, 150));
    Write("pcm8_stereo_22050.wav", Wave(2, 22050, 8, 101));
    Write("pcm16_mono_22050_list_chunk.wav",
          Riff(Format(1, 1, 22050, 16) + Chunk("LIST", "INFOISFT\5\0\0\0Seed") +
               Chunk("data", Samples(1, 22050, 16, 64))));
    const std::string whole = Wave(1, 22050, 16, 400);
    Write("truncated_data.wav", whole.substr(0, 44 + 100));
    Write("truncated_header.wav", whole.substr(0, 30));
    Write("empty_data.wav", Riff(Format(1, 1, 22050, 16) + Chunk("data", "")));
    Write("wrong_fmt_tag.wav",
          Riff(Format(0x1234, 1, 22050, 16) + Chunk("data", Samples(1, 22050, 16, 50))));
    Write("wrong_fmt_bits.wav",
          Riff(Format(1, 1, 22050, 12) + Chunk("data", Samples(1, 22050, 16, 50))));
    Write("wrong_fmt_no_channels.wav",
          Riff(Format(1, 0, 22050, 16) + Chunk("data", Samples(1, 22050, 16, 50))));
    Write("no_fmt.wav", Riff(Chunk("data", Samples(1, 22050, 16, 50))));
    Write("rate_1hz.wav", Wave(1, 1, 8, 256));  // 22 050 times longer once converted
    Write("rate_100hz.wav", Wave(1, 100, 8, 256));
    Write("less_than_a_frame.wav", Riff(Format(1, 2, 22050, 16) + Chunk("data", "\1\2\3")));

    // Encodings SDL decodes besides 8- and 16-bit PCM, so that mutations reach its decoders.
    Write("pcm24_mono_22050.wav",
          Riff(Format(1, 1, 22050, 24) + Chunk("data", std::string(90, '\x10'))));
    std::string floats;
    for (int i = 0; i < 40; ++i) Put(floats, i % 2 == 0 ? 0x3E800000u : 0xBE800000u, 4);  // +-0.25
    Write("float32_mono_22050.wav", Riff(Format(3, 1, 22050, 32) + Chunk("data", floats)));
    Write("alaw_mono_8000.wav",
          Riff(Format(6, 1, 8000, 8) + Chunk("data", std::string(64, '\xD5'))));
    Write("mulaw_mono_8000.wav",
          Riff(Format(7, 1, 8000, 8) + Chunk("data", std::string(64, '\xFF'))));
    std::string imaExtension;
    Put(imaExtension, 505, 2);  // samples per block of 256 bytes
    std::string imaHeader;
    Put(imaHeader, 0, 2);   // first sample
    Put(imaHeader, 10, 2);  // step index, reserved byte
    Write("ima_adpcm_mono_22050.wav", Riff(ExtendedFormat(0x11, 1, 22050, 4, 256, imaExtension) +
                                           Chunk("fact", std::string("\xF9\x01\0\0", 4)) +
                                           Chunk("data", AdpcmBlock(imaHeader, 256))));
    std::string msExtension;
    Put(msExtension, 500, 2);  // samples per block of 256 bytes
    Put(msExtension, 7, 2);    // the seven standard predictor coefficient pairs
    for (const auto& [a, b] :
         {std::pair{256, 0}, {512, -256}, {0, 0}, {192, 64}, {240, 0}, {460, -208}, {392, -232}}) {
        Put(msExtension, static_cast<uint16_t>(a), 2);
        Put(msExtension, static_cast<uint16_t>(b), 2);
    }
    std::string msHeader(1, '\0');  // predictor 0
    Put(msHeader, 16, 2);           // delta
    Put(msHeader, 0, 2);            // second sample
    Put(msHeader, 0, 2);            // first sample
    Write("ms_adpcm_mono_22050.wav", Riff(ExtendedFormat(2, 1, 22050, 4, 256, msExtension) +
                                          Chunk("fact", std::string("\xF4\x01\0\0", 4)) +
                                          Chunk("data", AdpcmBlock(msHeader, 256))));
    return 0;
}
