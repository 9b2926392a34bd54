#pragma once
#include "AudioOutput.h"
#include <windows.h>
#include <string>

// One playback of one song on its own thread: reads the source, decodes MP3
// with libmpg123 and plays the samples. It reports to the player's window by
// posting heap records (EngineNote); the window owns and frees them.
struct EngineNote
{
    enum Kind
    {
        OpenState,  // value: new open state
        PlayState,  // value: new play state
        Buffering,  // value: -1 starts, 0 ends
        MediaInfo,  // duration, tags and size are known
        MediaError, // the song cannot be opened or decoded
        Ended,      // every sample has played
    };
    unsigned generation = 0;
    Kind kind = OpenState;
    long value = 0;
    double duration = 0;
    unsigned long long size = 0;
    std::wstring title, author, album, genre;
};

class PlaybackEngine
{
  public:
    PlaybackEngine(HWND window, UINT message, unsigned generation, const std::wstring& url, double start);
    ~PlaybackEngine();

    bool Start();
    // Ends the thread and waits for it.
    void Stop();
    void Pause(bool paused);
    double Position();
    long DownloadProgress() const;
    long BufferingProgress() const;
    void SetVolume(int volume, bool mute);

  private:
    PlaybackEngine(const PlaybackEngine&) = delete;
    PlaybackEngine& operator=(const PlaybackEngine&) = delete;

    static unsigned __stdcall ThreadMain(void* param);
    void Run();
    void Post(EngineNote* note);
    void Post(EngineNote::Kind kind, long value);

    HWND m_window;
    UINT m_message;
    unsigned m_generation;
    std::wstring m_url;
    double m_start;
    HANDLE m_thread = nullptr;
    volatile LONG m_cancel = 0;
    volatile LONG m_downloadPercent = 0;
    volatile LONG m_bufferingPercent = 0;
    AudioOutput m_output;
};
