#pragma once
#include <windows.h>
#include <mmsystem.h>

// Where decoded samples go: the wave-out device when the machine has one,
// else a real-time clock that takes the samples as fast as they would play.
// Either way a write returns only when the samples are due, so the position
// moves like a playing song.
class AudioOutput
{
  public:
    explicit AudioOutput(volatile LONG* cancel);
    ~AudioOutput();

    void Open(long rate, int channels);
    // 16-bit samples; false when the playback was cancelled.
    bool Write(const unsigned char* pcm, size_t bytes);
    // Waits until every written sample has played.
    bool Drain();
    void Pause(bool paused);
    // Seconds played since the output opened.
    double Played();
    void SetVolume(int volume, bool mute);
    bool HasDevice() const { return m_device != nullptr; }

  private:
    struct Block
    {
        WAVEHDR header;
        char* data;
    };
    static const int kBlocks = 4;

    LONGLONG Frames() { return InterlockedCompareExchange64(&m_frames, 0, 0); }
    double ClockSeconds();
    bool WaitDue(double seconds);

    volatile LONG* m_cancel;
    CRITICAL_SECTION m_lock;
    long m_rate = 0;
    int m_frameBytes = 4;
    volatile LONGLONG m_frames = 0; // frames handed to the output
    bool m_paused = false;
    // Clock mode: active time is now minus start minus time spent paused.
    LARGE_INTEGER m_frequency = {};
    LONGLONG m_start = 0;
    LONGLONG m_pausedAt = 0;
    LONGLONG m_pausedTotal = 0;
    // Device mode.
    HWAVEOUT m_device = nullptr;
    HANDLE m_done = nullptr;
    Block m_blocks[kBlocks] = {};
    DWORD m_blockBytes = 0;
    int m_next = 0;
    int m_volume = 100;
    bool m_mute = false;
};
