/* The entry points of our "fmod.dll" stand-in (bin/libfmod.so), as the music
 * player, the sound manager's MP3 reader and their library holder call them:
 * the function types, the constants and the results. The module exports each
 * entry under its plain name with C linkage; the holder looks them up by their
 * decorated names ("_FSOUND_Init@12"), which the module loader maps to the
 * plain ones.
 *
 * Conventions:
 * - Samples and songs are opaque pointers; null is a failure. Boolean
 *   results: non-zero is success. Channels are numbered 0..(channels given to
 *   FSOUND_Init)-1; FMOD_FREE_CHANNEL (-1) asks for any free one.
 * - FSOUND_Init must come first; FSOUND_Close stops and frees everything.
 * - Samples are decoded whole when loaded (WAV, Ogg Vorbis, MP3), songs are
 *   decoded while they play (tracker modules, and Ogg Vorbis, WAV and MP3
 *   files played as songs). Files are opened by name (program paths: '\\' or
 *   '/', any case); FSOUND_Sample_Load reads from memory with FMOD_LOADMEMORY.
 * - Channel volumes are 0..255, song volumes 0..256. Output is the shared
 *   software mixer.
 * - Calls come from one thread at a time.
 */
#ifndef LUMO_PLATFORM_AUDIO_FMODAPI_H
#define LUMO_PLATFORM_AUDIO_FMODAPI_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct FmodSample FmodSample; /* a sample: PCM in memory */
typedef struct FmodSong FmodSong;     /* a song: decoded while it plays */
typedef struct FmodStream FmodStream; /* the stand-in offers no streams */
typedef int FmodBool;

#define FMOD_FREE_CHANNEL (-1)
#define FMOD_FREE_SAMPLE_INDEX (-1)

/* Sample modes (FSOUND_Sample_GetMode, FSOUND_Sample_Alloc) and channel loop
 * modes (FSOUND_SetLoopMode). */
#define FMOD_LOOP_OFF 0x01u
#define FMOD_LOOP_NORMAL 0x02u
#define FMOD_8BITS 0x08u
#define FMOD_16BITS 0x10u
#define FMOD_MONO 0x20u
#define FMOD_STEREO 0x40u
#define FMOD_LOADMEMORY 0x8000u /* FSOUND_Sample_Load: the name is the data */

typedef FmodBool (*FmodSetBufferSizeFunction)(int milliseconds);
typedef FmodBool (*FmodSetHWNDFunction)(void* window);
typedef FmodBool (*FmodInitFunction)(int mixRate, int maxChannels, unsigned int flags);
typedef void (*FmodCloseFunction)(void);
/* index: FMOD_FREE_SAMPLE_INDEX; nameOrData: a file name, or with
 * FMOD_LOADMEMORY the bytes of a file of memoryLength bytes. */
typedef FmodSample* (*FmodSampleLoadFunction)(int index, const char* nameOrData, unsigned int mode,
                                              int memoryLength);
/* length in frames; mode gives the format (FMOD_8BITS/16BITS, MONO/STEREO) and
 * the loop mode; volume 0..255, pan 0..255 (128 centre). */
typedef FmodSample* (*FmodSampleAllocFunction)(int index, int length, unsigned int mode, int frequency,
                                               int volume, int pan, int priority);
typedef void (*FmodSampleFreeFunction)(FmodSample* sample);
/* offset and length in bytes; the sample's bytes are handed out directly. */
typedef FmodBool (*FmodSampleLockFunction)(FmodSample* sample, int offset, int length, void** part1,
                                           void** part2, unsigned int* length1, unsigned int* length2);
typedef FmodBool (*FmodSampleUnlockFunction)(FmodSample* sample, void* part1, void* part2, unsigned int length1,
                                             unsigned int length2);
/* Frames; loopEnd is the last frame of the loop (inclusive). */
typedef FmodBool (*FmodSampleSetLoopPointsFunction)(FmodSample* sample, int loopStart, int loopEnd);
typedef unsigned int (*FmodSampleGetLengthFunction)(FmodSample* sample); /* frames */
typedef FmodBool (*FmodSampleGetDefaultsFunction)(FmodSample* sample, int* frequency, int* volume, int* pan,
                                                  int* priority);
typedef unsigned int (*FmodSampleGetModeFunction)(FmodSample* sample);
/* The channel it plays on, or -1. */
typedef int (*FmodPlaySoundFunction)(int channel, FmodSample* sample);
typedef FmodBool (*FmodStopSoundFunction)(int channel);
typedef FmodBool (*FmodSetVolumeFunction)(int channel, int volume);
typedef FmodBool (*FmodSetPausedFunction)(int channel, FmodBool paused);
typedef FmodBool (*FmodSetLoopModeFunction)(int channel, unsigned int loopMode);
typedef FmodBool (*FmodIsPlayingFunction)(int channel);
typedef FmodStream* (*FmodStreamOpenFileFunction)(const char* name, unsigned int mode, int length);
typedef FmodBool (*FmodStreamCloseFunction)(FmodStream* stream);
typedef int (*FmodStreamPlayFunction)(int channel, FmodStream* stream);
typedef FmodSong* (*FmodLoadSongFunction)(const char* name);
typedef FmodBool (*FmodPlaySongFunction)(FmodSong* song);
typedef FmodBool (*FmodStopSongFunction)(FmodSong* song);
typedef FmodBool (*FmodSetLoopingFunction)(FmodSong* song, FmodBool looping);
/* Modules: the order to play from; other songs have the one order 0. */
typedef FmodBool (*FmodSetOrderFunction)(FmodSong* song, int order);
typedef FmodBool (*FmodSetSongPausedFunction)(FmodSong* song, FmodBool paused);
typedef FmodBool (*FmodSetMasterVolumeFunction)(FmodSong* song, int volume);
/* True from FMUSIC_PlaySong until the song is stopped or ends (paused too). */
typedef FmodBool (*FmodSongIsPlayingFunction)(FmodSong* song);

#ifdef __cplusplus
}
#endif

#endif /* LUMO_PLATFORM_AUDIO_FMODAPI_H */
