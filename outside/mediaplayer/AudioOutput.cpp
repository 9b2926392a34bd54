#include "AudioOutput.h"
#include <cstring>

AudioOutput::AudioOutput(volatile LONG* cancel) : m_cancel(cancel)
{
    InitializeCriticalSection(&m_lock);
    QueryPerformanceFrequency(&m_frequency);
}

AudioOutput::~AudioOutput()
{
    if (m_device)
    {
        waveOutReset(m_device);
        for (Block& b : m_blocks)
        {
            if (b.header.dwFlags & WHDR_PREPARED)
                waveOutUnprepareHeader(m_device, &b.header, sizeof(b.header));
            delete[] b.data;
        }
        waveOutClose(m_device);
    }
    if (m_done)
        CloseHandle(m_done);
    DeleteCriticalSection(&m_lock);
}

void AudioOutput::Open(long rate, int channels)
{
    m_rate = rate > 0 ? rate : 44100;
    m_frameBytes = 2 * (channels > 0 ? channels : 1);
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    m_start = now.QuadPart;
    if (waveOutGetNumDevs() == 0)
        return;
    WAVEFORMATEX format = {};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = static_cast<WORD>(m_frameBytes / 2);
    format.nSamplesPerSec = m_rate;
    format.wBitsPerSample = 16;
    format.nBlockAlign = static_cast<WORD>(m_frameBytes);
    format.nAvgBytesPerSec = m_rate * m_frameBytes;
    m_done = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    if (waveOutOpen(&m_device, WAVE_MAPPER, &format, reinterpret_cast<DWORD_PTR>(m_done), 0,
                    CALLBACK_EVENT) != MMSYSERR_NOERROR)
    {
        m_device = nullptr;
        return;
    }
    // Blocks of about 100 ms each.
    m_blockBytes = static_cast<DWORD>(m_rate / 10 * m_frameBytes);
    for (Block& b : m_blocks)
    {
        b.data = new char[m_blockBytes];
        b.header.lpData = b.data;
        b.header.dwFlags = WHDR_DONE;
    }
    SetVolume(m_volume, m_mute);
}

double AudioOutput::ClockSeconds()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    EnterCriticalSection(&m_lock);
    LONGLONG end = m_paused ? m_pausedAt : now.QuadPart;
    double seconds = static_cast<double>(end - m_start - m_pausedTotal) / m_frequency.QuadPart;
    LeaveCriticalSection(&m_lock);
    return seconds;
}

bool AudioOutput::WaitDue(double seconds)
{
    while (!*m_cancel)
    {
        double ahead = seconds - ClockSeconds();
        if (ahead <= 0)
            return true;
        Sleep(ahead > 0.02 ? 20 : 1);
    }
    return false;
}

bool AudioOutput::Write(const unsigned char* pcm, size_t bytes)
{
    if (!m_device)
    {
        InterlockedExchangeAdd64(&m_frames, static_cast<LONGLONG>(bytes / m_frameBytes));
        // Keep a quarter second ahead, as a device's buffer would.
        return WaitDue(static_cast<double>(Frames()) / m_rate - 0.25);
    }
    while (bytes > 0)
    {
        Block& b = m_blocks[m_next];
        while (!(b.header.dwFlags & WHDR_DONE))
        {
            if (*m_cancel)
                return false;
            WaitForSingleObject(m_done, 20);
        }
        if (b.header.dwFlags & WHDR_PREPARED)
            waveOutUnprepareHeader(m_device, &b.header, sizeof(b.header));
        DWORD n = bytes < m_blockBytes ? static_cast<DWORD>(bytes) : m_blockBytes;
        memcpy(b.data, pcm, n);
        b.header.dwBufferLength = n;
        b.header.dwFlags = 0;
        waveOutPrepareHeader(m_device, &b.header, sizeof(b.header));
        waveOutWrite(m_device, &b.header, sizeof(b.header));
        InterlockedExchangeAdd64(&m_frames, static_cast<LONGLONG>(n / m_frameBytes));
        pcm += n;
        bytes -= n;
        m_next = (m_next + 1) % kBlocks;
    }
    return true;
}

bool AudioOutput::Drain()
{
    if (!m_device)
        return WaitDue(static_cast<double>(Frames()) / m_rate);
    for (Block& b : m_blocks)
    {
        while (!(b.header.dwFlags & WHDR_DONE))
        {
            if (*m_cancel)
                return false;
            WaitForSingleObject(m_done, 20);
        }
    }
    return true;
}

void AudioOutput::Pause(bool paused)
{
    EnterCriticalSection(&m_lock);
    if (paused != m_paused)
    {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        if (paused)
            m_pausedAt = now.QuadPart;
        else
            m_pausedTotal += now.QuadPart - m_pausedAt;
        m_paused = paused;
        if (m_device)
            paused ? waveOutPause(m_device) : waveOutRestart(m_device);
    }
    LeaveCriticalSection(&m_lock);
}

double AudioOutput::Played()
{
    if (m_rate == 0)
        return 0;
    double written = static_cast<double>(Frames()) / m_rate;
    if (m_device)
    {
        MMTIME time = {};
        time.wType = TIME_SAMPLES;
        if (waveOutGetPosition(m_device, &time, sizeof(time)) == MMSYSERR_NOERROR &&
            time.wType == TIME_SAMPLES)
            return static_cast<double>(time.u.sample) / m_rate;
        return written;
    }
    double clock = ClockSeconds();
    return clock < written ? (clock > 0 ? clock : 0) : written;
}

void AudioOutput::SetVolume(int volume, bool mute)
{
    m_volume = volume;
    m_mute = mute;
    if (m_device)
    {
        DWORD level = mute ? 0 : static_cast<DWORD>(volume) * 0xFFFF / 100;
        waveOutSetVolume(m_device, level | (level << 16));
    }
}
