// Platform services that only the factory command processor uses: chaining
// a further factory code, the HDMI switch's audio return channel and its
// non-volatile memory, the throughput test against the factory test server,
// the model group, and the board's command runner. Served by the simulated
// television.
//
// Status convention: OAM_OK (0) is success.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/oam/oam.h"

// Delivers `*code` later as a new factory command event (XPM_EVT_FACTORY,
// type command, flag 0), as if the factory remote had sent it.
int32_t OAM_CustomDispatchFactoryCommand(const uint32_t* code);

// The HDMI input that carries the audio return channel (written into *port,
// which holds the caller's default), and switching that channel on or off.
int32_t OAM_hdmiswitch_GetARCPort(int32_t* port);
int32_t OAM_hdmiswitch_SetARC(int32_t port, int32_t on);
// Clears the HDMI switch chip's non-volatile memory.
int32_t SI_EraseNVRAM(void);

// Where the throughput test's file lies: two values of the platform's and the
// factory test server's address (most significant octet first).
int32_t OAM_PlatformMiscs_GetSpeedTestInfo(int32_t* first, int32_t* second, uint32_t* server);
// The HTTP client's time-out in seconds.
int32_t BCM_Set_http_timeout(int32_t seconds);
// Fetches `path` from `endpoint` ("a.b.c.d:port"); answers the speed in
// kilobytes per second, 0 or less when nothing came.
int32_t BCM_HTTP_Speed(const char* endpoint, const char* path, uint32_t server);
// The model group of the board (0 to 3); 0 when taken.
int32_t BCM_SetModel(int32_t group);

// The board's command runner: it knows the few commands of the factory
// tests (the wireless module's identity and signal readings, mounting the
// USB stick, listing and reading its test file) and refuses every other one
// with a log line; nothing reaches a shell. popen answers null when the
// command cannot run.
struct BCM_Pipe;
BCM_Pipe* BCM_syscall_popen(const char* command, const char* mode);
// Reads the rest of the output into `out` (`size` bytes, zero-terminated);
// answers the number of bytes read.
size_t BCM_syscall_read(BCM_Pipe* pipe, char* out, size_t size);
// Closes the pipe; answers the command's exit status.
int32_t BCM_syscall_pclose(BCM_Pipe* pipe);
// Runs a command and answers its exit status (-1 when it could not run).
int32_t BCM_syscall_system(const char* command);
