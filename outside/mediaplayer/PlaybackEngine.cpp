#include "MediaSource.h"
#include "PlaybackEngine.h"
#include <mpg123.h>
#include <process.h>
#include <vector>

namespace
{
const int kReadChunk = 16 * 1024;
// Bytes a network song must bring before playing starts (the buffering).
const unsigned long long kBufferBytes = 16 * 1024;

std::wstring FromUtf8(const mpg123_string* text)
{
    if (!text || !text->p || text->fill == 0)
        return std::wstring();
    int length = static_cast<int>(strnlen(text->p, text->fill));
    int n = MultiByteToWideChar(CP_UTF8, 0, text->p, length, nullptr, 0);
    std::wstring out(n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text->p, length, &out[0], n);
    return out;
}

// Frees the decoder however the playback ends.
struct Decoder
{
    mpg123_handle* handle = nullptr;
    ~Decoder()
    {
        if (handle)
        {
            mpg123_close(handle);
            mpg123_delete(handle);
        }
    }
};
} // namespace

PlaybackEngine::PlaybackEngine(HWND window, UINT message, unsigned generation, const std::wstring& url,
                               double start)
    : m_window(window), m_message(message), m_generation(generation), m_url(url), m_start(start),
      m_output(&m_cancel)
{
}

PlaybackEngine::~PlaybackEngine()
{
    Stop();
}

bool PlaybackEngine::Start()
{
    m_thread = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, ThreadMain, this, 0, nullptr));
    return m_thread != nullptr;
}

void PlaybackEngine::Stop()
{
    InterlockedExchange(&m_cancel, 1);
    if (m_thread)
    {
        WaitForSingleObject(m_thread, INFINITE);
        CloseHandle(m_thread);
        m_thread = nullptr;
    }
}

void PlaybackEngine::Pause(bool paused)
{
    m_output.Pause(paused);
}

double PlaybackEngine::Position()
{
    return m_start + m_output.Played();
}

long PlaybackEngine::DownloadProgress() const
{
    return m_downloadPercent;
}

long PlaybackEngine::BufferingProgress() const
{
    return m_bufferingPercent;
}

void PlaybackEngine::SetVolume(int volume, bool mute)
{
    m_output.SetVolume(volume, mute);
}

unsigned __stdcall PlaybackEngine::ThreadMain(void* param)
{
    static_cast<PlaybackEngine*>(param)->Run();
    return 0;
}

void PlaybackEngine::Post(EngineNote* note)
{
    note->generation = m_generation;
    // The player's window receives EngineNote records and frees them.
    if (!PostMessageW(m_window, m_message, 0, reinterpret_cast<LPARAM>(note)))
        delete note;
}

void PlaybackEngine::Post(EngineNote::Kind kind, long value)
{
    EngineNote* note = new EngineNote;
    note->kind = kind;
    note->value = value;
    Post(note);
}

void PlaybackEngine::Run()
{
    MediaSource source(&m_cancel);
    Post(EngineNote::OpenState, 12); // media opening
    if (!source.Open(m_url))
    {
        if (!m_cancel)
            Post(EngineNote::MediaError, 0);
        return;
    }
    const bool network = source.IsNetwork();
    if (network)
        Post(EngineNote::Buffering, -1);

    Decoder decoder;
    mpg123_init();
    decoder.handle = mpg123_new(nullptr, nullptr);
    if (!decoder.handle || mpg123_open_feed(decoder.handle) != MPG123_OK)
    {
        Post(EngineNote::MediaError, 0);
        return;
    }
    mpg123_handle* mh = decoder.handle;
    // Always 16-bit samples, in the song's own rate and channels.
    mpg123_format_none(mh);
    const long* rates = nullptr;
    size_t rateCount = 0;
    mpg123_rates(&rates, &rateCount);
    for (size_t i = 0; i < rateCount; ++i)
        mpg123_format(mh, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
    if (source.Size() > 0)
        mpg123_set_filesize(mh, static_cast<off_t>(source.Size()));

    std::vector<unsigned char> input(kReadChunk);
    std::vector<unsigned char> pcm(64 * 1024);
    long rate = 0;
    int channels = 0;
    unsigned long long skipFrames = 0;
    bool started = false, inputEnded = false;

    auto progress = [&]() {
        unsigned long long size = source.Size(), got = source.BytesRead();
        m_downloadPercent = size ? static_cast<LONG>(got * 100 / size) : (inputEnded ? 100 : 0);
        if (!started)
            m_bufferingPercent =
                static_cast<LONG>((got >= kBufferBytes ? kBufferBytes : got) * 100 / kBufferBytes);
    };

    while (!m_cancel)
    {
        size_t done = 0;
        int r = mpg123_read(mh, pcm.data(), pcm.size(), &done);
        if (r == MPG123_NEW_FORMAT)
        {
            int encoding = 0;
            mpg123_getformat(mh, &rate, &channels, &encoding);
            continue;
        }
        if (r == MPG123_NEED_MORE && done == 0)
        {
            if (inputEnded)
                break;
            int n = source.Read(reinterpret_cast<char*>(input.data()), kReadChunk);
            if (n < 0)
            {
                // A broken connection (not a stop) is the song's error.
                if (!m_cancel)
                    Post(EngineNote::MediaError, 0);
                return;
            }
            if (n == 0)
                inputEnded = true;
            else
                mpg123_feed(mh, input.data(), n);
            progress();
            continue;
        }
        if (r != MPG123_OK && r != MPG123_NEED_MORE && r != MPG123_DONE)
        {
            if (!started)
            {
                Post(EngineNote::MediaError, 0);
                return;
            }
            break;
        }
        if (done == 0)
        {
            if (r == MPG123_DONE)
                break;
            continue;
        }
        if (!started)
        {
            // The first samples: the song is open and playing.
            started = true;
            m_bufferingPercent = 100;
            m_output.Open(rate, channels);
            skipFrames = static_cast<unsigned long long>(m_start * rate);
            EngineNote* info = new EngineNote;
            info->kind = EngineNote::MediaInfo;
            off_t length = mpg123_length(mh);
            info->duration = length > 0 && rate > 0 ? static_cast<double>(length) / rate : 0;
            info->size = source.Size();
            mpg123_id3v1* v1 = nullptr;
            mpg123_id3v2* v2 = nullptr;
            if (mpg123_id3(mh, &v1, &v2) == MPG123_OK && v2)
            {
                info->title = FromUtf8(v2->title);
                info->author = FromUtf8(v2->artist);
                info->album = FromUtf8(v2->album);
                info->genre = FromUtf8(v2->genre);
            }
            Post(info);
            Post(EngineNote::OpenState, 13); // media open
            if (network)
                Post(EngineNote::Buffering, 0);
            Post(EngineNote::PlayState, 3); // playing
        }
        const int frameBytes = 2 * (channels > 0 ? channels : 1);
        size_t frames = done / frameBytes;
        size_t offset = 0;
        if (skipFrames > 0)
        {
            size_t skip = skipFrames < frames ? static_cast<size_t>(skipFrames) : frames;
            skipFrames -= skip;
            offset = skip * frameBytes;
        }
        if (offset < done && !m_output.Write(pcm.data() + offset, done - offset))
            return;
    }
    if (m_cancel)
        return;
    if (!started)
    {
        Post(EngineNote::MediaError, 0);
        return;
    }
    if (m_output.Drain())
        Post(EngineNote::Ended, 0);
}
