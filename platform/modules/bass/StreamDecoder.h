#pragma once
// Decoders of the music stand-ins: each turns a file into interleaved signed
// 16-bit frames, read a block at a time (nothing is decoded ahead). WAV (PCM,
// 8 or 16 bits), Ogg Vorbis (Tremor), MP3 (mpg123) and tracker modules
// (libopenmpt, rendered at 44100 Hz stereo). One or two channels.
//
// A decoder is used by one thread at a time (DecoderVoice locks it). Bad data
// gives a null decoder or an early end, never a crash.
#include "platform/audio/SampleData.h"
#include "platform/modules/bass/ByteSource.h"
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace Lumo::Platform {

class StreamDecoder
{
public:
    virtual ~StreamDecoder() = default;
    // 16-bit; channels 1 or 2; fixed for the decoder's life.
    virtual PcmFormat Format() const = 0;
    // Up to `frames` frames; fewer only at the end of the data.
    virtual size_t Read(int16_t* out, size_t frames) = 0;
    // To a frame from the start; false when it cannot seek there.
    virtual bool Seek(uint64_t frame) = 0;
    // Length in frames; 0 when unknown.
    virtual uint64_t Length() = 0;
    // Loops by itself (a module's own restart): true when it does, so that
    // whoever plays it need not seek back at the end.
    virtual bool SetLooping(bool /*loop*/) { return false; }
};

// Tracker modules add positions by order and row.
class ModuleDecoder : public StreamDecoder
{
public:
    virtual bool SetOrderRow(int order, int row) = 0;
    virtual int CountOrders() = 0;
    virtual int CurrentOrder() = 0;
    virtual int CurrentRow() = 0;
};

std::unique_ptr<StreamDecoder> OpenWavDecoder(std::unique_ptr<ByteSource> source);
std::unique_ptr<StreamDecoder> OpenOggDecoder(std::unique_ptr<ByteSource> source);
std::unique_ptr<StreamDecoder> OpenMp3Decoder(std::unique_ptr<ByteSource> source);
// The module file's bytes (copied as needed).
std::unique_ptr<ModuleDecoder> OpenModuleDecoder(const uint8_t* data, size_t size);
// WAV ("RIFF"), Ogg ("OggS") or else MP3, by the first bytes.
std::unique_ptr<StreamDecoder> OpenStreamDecoder(std::unique_ptr<ByteSource> source);

// Whether a program path names a stream file (".wav", ".ogg", ".mp3", any
// case) rather than a module.
bool IsStreamFileName(const std::string& path);

// Sets up the decoding libraries once per module load; safe to call often.
void InitDecoders();

} // namespace Lumo::Platform
