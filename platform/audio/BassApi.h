/* The entry points of our "bass.dll" stand-in (bin/libbass.so), as the music
 * player and its library holder call them: the function types, the constants
 * they take and the results they give. The module exports each entry under
 * its plain name, with C linkage.
 *
 * Conventions:
 * - Handles (streams and modules, both "channels") are non-zero 32-bit
 *   numbers; 0 is a failure. Boolean results: non-zero is success.
 * - A failed call records an error code that BASS_ErrorGetCode returns.
 * - Volumes are 0..100. Output is the shared software mixer (44100 Hz,
 *   16-bit stereo); the library must be initialised (BASS_Init) before any
 *   channel is made, and BASS_Free frees every channel.
 * - Files are opened by name (program paths: '\\' or '/', any case), or read
 *   from memory when the "from memory" argument is non-zero; memory handed to
 *   BASS_StreamCreateFile must stay valid until BASS_StreamFree (or
 *   BASS_Free), while BASS_MusicLoad copies what it needs.
 * - Calls come from one thread at a time (the program's main thread).
 */
#ifndef LUMO_PLATFORM_AUDIO_BASSAPI_H
#define LUMO_PLATFORM_AUDIO_BASSAPI_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef uint32_t BassHandle; /* a stream or module channel; 0 is none */
typedef int BassBool;

/* BASS_SetConfig / BASS_GetConfig options. */
#define BASS_CONFIG_BUFFER_MS 0u       /* playback buffer length, ms (kept only) */
#define BASS_CONFIG_STREAM_VOLUME 5u   /* global volume of streams 0..100 */
#define BASS_CONFIG_MUSIC_VOLUME 6u    /* global volume of modules 0..100 */

/* Channel and load flags. */
#define BASS_FLAG_LOOP 0x4u            /* loop at the end */
#define BASS_MUSIC_RAMP 0x200u         /* soften note starts (accepted, no effect) */
#define BASS_MUSIC_POSRESET 0x8000u    /* reset notes on a position change (accepted) */

/* BASS_ChannelIsActive states. */
#define BASS_ACTIVE_STOPPED 0u
#define BASS_ACTIVE_PLAYING 1u
#define BASS_ACTIVE_STALLED 2u
#define BASS_ACTIVE_PAUSED 3u

/* BASS_ChannelSetAttributes: values that leave an attribute unchanged. */
#define BASS_KEEP_FREQUENCY (-1)
#define BASS_KEEP_VOLUME (-1)
#define BASS_KEEP_PAN (-101)

/* Module positions for BASS_ChannelSetPosition: the high 32 bits all ones and
 * bit 31 set mean "order and row" (order in bits 0..15, row in bits 16..30);
 * any other value is a byte offset into the decoded output (44100 Hz, 16-bit
 * stereo for modules; the stream's own format for streams). */
#define BASS_POSITION_ORDER_ROW_HIGH 0xFFFFFFFFu
#define BASS_POSITION_ORDER_ROW_FLAG 0x80000000u

/* BASS_MusicSetAttribute attributes. */
#define BASS_MUSIC_ATTRIB_AMPLIFY 0u /* 0..100, 50 = as written */

/* Error codes of BASS_ErrorGetCode. */
#define BASS_OK 0
#define BASS_ERROR_MEMORY 1
#define BASS_ERROR_FILEOPEN 2
#define BASS_ERROR_HANDLE 5
#define BASS_ERROR_FORMAT 6
#define BASS_ERROR_POSITION 7
#define BASS_ERROR_INIT 8
#define BASS_ERROR_ALREADY 14
#define BASS_ERROR_ILLPARAM 20
#define BASS_ERROR_NOTAVAIL 37
#define BASS_ERROR_UNKNOWN (-1)

/* What BASS_GetInfo reports. */
typedef struct BassDeviceInfo
{
    uint32_t flags;
    uint32_t outputRate;   /* Hz */
    uint32_t outputChannels;
    uint32_t latencyMs;
} BassDeviceInfo;

/* What the sample calls would describe (the stand-in has no samples). */
typedef struct BassSampleInfo
{
    uint32_t frequency;
    uint32_t volume;
    int32_t pan;
    uint32_t flags;
    uint32_t length;
    uint32_t maxPlaybacks;
} BassSampleInfo;

typedef void (*BassSyncProc)(uint32_t sync, BassHandle channel, uint32_t data, void* user);

typedef uint32_t (*BassGetVersionFunction)(void);
/* device -1 (default) or 1 (first device); freq is the output rate asked for. */
typedef BassBool (*BassInitOldFunction)(int device, uint32_t freq, uint32_t flags, void* window);
typedef BassBool (*BassInitFunction)(int device, uint32_t freq, uint32_t flags, void* window, const void* clsid);
typedef BassBool (*BassFreeFunction)(void);
typedef BassBool (*BassStopFunction)(void);
typedef BassBool (*BassStartFunction)(void);
typedef BassBool (*BassSetGlobalVolumesFunction)(int music, int sample, int stream);
typedef BassBool (*BassSetVolumeFunction)(uint32_t volume);
typedef int (*BassGetVolumeFunction)(void);
typedef BassBool (*BassGetInfoFunction)(BassDeviceInfo* info);
typedef uint32_t (*BassSetConfigFunction)(uint32_t option, uint32_t value);
typedef uint32_t (*BassGetConfigFunction)(uint32_t option);
typedef BassBool (*BassChannelStopFunction)(BassHandle channel);
typedef BassBool (*BassChannelPlayFunction)(BassHandle channel, BassBool restart);
typedef BassBool (*BassChannelPauseFunction)(BassHandle channel);
typedef BassBool (*BassChannelSetAttributesFunction)(BassHandle channel, int freq, int volume, int pan);
typedef BassBool (*BassChannelGetAttributesFunction)(BassHandle channel, uint32_t* freq, uint32_t* volume,
                                                     int* pan);
typedef BassBool (*BassChannelSetPositionFunction)(BassHandle channel, uint64_t position);
typedef uint64_t (*BassChannelGetPositionFunction)(BassHandle channel);
typedef BassBool (*BassChannelSetFlagsFunction)(BassHandle channel, uint32_t flags);
typedef uint32_t (*BassChannelIsActiveFunction)(BassHandle channel);
typedef BassBool (*BassChannelSlideAttributesFunction)(BassHandle channel, int freq, int volume, int pan,
                                                       uint32_t timeMs);
typedef uint32_t (*BassChannelIsSlidingFunction)(BassHandle channel);
typedef uint32_t (*BassChannelGetLevelFunction)(BassHandle channel);
typedef uint32_t (*BassChannelSetFXFunction)(BassHandle channel, uint32_t type, int priority);
typedef BassBool (*BassChannelRemoveFXFunction)(BassHandle channel, uint32_t fx);
typedef uint64_t (*BassChannelGetLengthFunction)(BassHandle channel);
typedef uint32_t (*BassChannelGetDataFunction)(BassHandle channel, void* buffer, uint32_t length);
typedef BassBool (*BassChannelPreBufFunction)(BassHandle channel);
typedef uint32_t (*BassChannelSetSyncFunction)(BassHandle channel, uint32_t type, uint64_t param, BassSyncProc proc,
                                               void* user);
typedef BassBool (*BassChannelRemoveSyncFunction)(BassHandle channel, uint32_t sync);
typedef BassHandle (*BassMusicLoadOldFunction)(BassBool fromMemory, const void* file, uint32_t offset,
                                              uint32_t length, uint32_t flags);
typedef BassHandle (*BassMusicLoadFunction)(BassBool fromMemory, const void* file, uint64_t offset,
                                           uint32_t length, uint32_t flags, uint32_t freq);
typedef void (*BassMusicFreeFunction)(BassHandle music);
/* length 0 with a file: to its end. */
typedef BassHandle (*BassStreamCreateFileFunction)(BassBool fromMemory, const void* file, uint64_t offset,
                                                  uint64_t length, uint32_t flags);
typedef void (*BassStreamFreeFunction)(BassHandle stream);
typedef BassBool (*BassFXSetParametersFunction)(uint32_t fx, const void* parameters);
typedef BassBool (*BassFXGetParametersFunction)(uint32_t fx, void* parameters);
typedef uint32_t (*BassMusicGetAttributeFunction)(BassHandle music, uint32_t attribute);
typedef uint32_t (*BassMusicSetAttributeFunction)(BassHandle music, uint32_t attribute, uint32_t value);
typedef uint32_t (*BassMusicGetOrdersFunction)(BassHandle music);
/* Order in the low 16 bits, row in the high 16 bits. */
typedef uint32_t (*BassMusicGetOrderPositionFunction)(BassHandle music);
typedef uint32_t (*BassPluginLoadFunction)(const char* file, uint32_t flags);
typedef uint32_t (*BassSampleLoadFunction)(BassBool fromMemory, const void* file, uint64_t offset, uint32_t length,
                                           uint32_t maxPlaybacks, uint32_t flags);
typedef BassBool (*BassSampleFreeFunction)(uint32_t sample);
typedef BassBool (*BassSampleSetInfoFunction)(uint32_t sample, const BassSampleInfo* info);
typedef BassBool (*BassSampleGetInfoFunction)(uint32_t sample, BassSampleInfo* info);
typedef BassHandle (*BassSampleGetChannelFunction)(uint32_t sample, BassBool onlyNew);
typedef BassBool (*BassSampleStopFunction)(uint32_t sample);
typedef int (*BassErrorGetCodeFunction)(void);

#ifdef __cplusplus
}
#endif

#endif /* LUMO_PLATFORM_AUDIO_BASSAPI_H */
