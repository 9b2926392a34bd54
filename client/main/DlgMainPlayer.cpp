// The main window's player: starting a row of the song list, stepping through
// the playing list by the loop mode, the end of a song, stop, pause and resume
// with a volume fade, volume, mute and seek, the progress slider, the
// buffering display, the player buttons and the recent list.
#include "DlgMain.h"

#include "AppSetting.h"
#include "BuddyCommands.h"
#include "ClientApp.h"
#include "DataClient.h"
#include "LanguageTable.h"
#include "ListenLog.h"
#include "MessagingLink.h"
#include "ReservedNames.h"
#include "SongLibrary.h"
#include "StripButton.h"
#include "resource.h"

#include <cstdlib>
#include <ctime>

namespace
{
// More skipped songs than this in a row and playing stops.
const int kSkipLimit = 5;
const int kRecentListSize = 50;
const int kFadeStep = 2;
const DWORD kFadeStepMs = 20;

struct LoopModeLook
{
    const wchar_t* tip;
    UINT bitmap;
};
const LoopModeLook kLoopLooks[] = {
    {L"INFO_MAIN_DLG_ALL_LOOP", IDB_BTN_LOOP_ORDER},
    {L"INFO_MAIN_DLG_SINGLE_LOOP", IDB_BTN_LOOP_ALL},
    {L"INFO_MAIN_DLG_RAND_LOOP", IDB_BTN_LOOP_ONE},
};

unsigned long SizeOf(const CSongInfo& song)
{
    return wcstoul(song.GetFileSize(), NULL, 10);
}

CString TimeText(double seconds)
{
    int whole = seconds > 0 ? static_cast<int>(seconds) : 0;
    CString text;
    text.Format(L"%02d:%02d", whole / 60, whole % 60);
    return text;
}

// What a fade thread needs: it only posts to the window, which owns the player.
struct FadeJob
{
    HWND window;
    int direction;
    int target;
};

DWORD WINAPI FadeThread(LPVOID parameter)
{
    FadeJob job = *static_cast<FadeJob*>(parameter);
    delete static_cast<FadeJob*>(parameter);
    for (int volume : CDlgMain::FadeSteps(job.direction, job.target))
    {
        if (!::PostMessageW(job.window, WM_MAIN_FADE_STEP, static_cast<WPARAM>(volume), 0))
            return 0;
        ::Sleep(kFadeStepMs);
    }
    ::PostMessageW(job.window, WM_MAIN_FADE_STEP, static_cast<WPARAM>(job.target), job.direction == 1 ? 1 : 2);
    return 0;
}
} // namespace

BOOL CDlgMain::IsLocalSongType(const CString& type)
{
    return type.IsEmpty() || type == L"0" || type == L"3";
}

std::vector<int> CDlgMain::FadeSteps(int direction, int target)
{
    std::vector<int> steps;
    if (direction == 1)
    {
        // An odd target ends one above it, as the steps are even.
        for (int v = kFadeStep; v - kFadeStep < target; v += kFadeStep)
            steps.push_back(v);
    }
    else
    {
        for (int v = target - kFadeStep; ; v -= kFadeStep)
        {
            steps.push_back(v > 0 ? v : 0);
            if (v <= 0)
                break;
        }
    }
    return steps;
}

// ---------------------------------------------------------------------------
// Starting a row and stepping through the list

void CDlgMain::ClearPlayingMarks()
{
    if (LeftBar().GetSafeHwnd())
        LeftBar().ClearMark();
    if (m_listSongLists.GetSafeHwnd())
        m_listSongLists.ClearPlayingMark();
    if (m_listSongs.GetSafeHwnd())
        m_listSongs.ClearPlayingMark();
}

void CDlgMain::StopAtSkipLimit()
{
    StopPlayback(0);
    ClearPlayingMarks();
    UpdatePlayButtons(FALSE);
    m_nSkipCount = 0;
}

void CDlgMain::PlayRow(int row)
{
    PlayRow(row, NULL);
}

void CDlgMain::PlayRow(int row, const void* force)
{
    m_bWebStream = FALSE;
    m_bSongLoaded = FALSE;
    if (m_nSkipCount > kSkipLimit)
    {
        StopAtSkipLimit();
        return;
    }
    if (row < 0 || row >= m_listSongs.GetItemCount())
        return;
    SongRowData* record = m_listSongs.GetRow(row);
    if (!record)
        return;
    if (record->unavailable)
    {
        ++m_nSkipCount;
        OnNext();
        return;
    }
    CString songId = record->songId, songOwner = record->owner;

    StopPlayback(0);
    m_strPlayingOwner = m_strShownOwner;
    m_nPlayingIndex = row;
    m_strPlayingListName = m_strShownListName;
    m_playingLibrary = m_shownLibrary;
    m_bHasPlayingLibrary = m_bHasShownLibrary;
    if (m_strPlayingListName.IsEmpty() || songId.IsEmpty())
    {
        OnStop();
        return;
    }
    m_strPlayingSongId = songId;

    CFriendItem* ownerRow = LeftBar().GetItem(LeftBar().FindItem(m_strPlayingOwner));
    if (!ownerRow)
    {
        OnStop();
        return;
    }
    if ((ownerRow->kind == 1 || ownerRow->kind == 2) && ownerRow->subOrder > 0)
    {
        CSongInfo song;
        if (!m_bHasPlayingLibrary || FAILED(m_playingLibrary.GetSongById(songId, song)))
        {
            ++m_nSkipCount;
            OnNext();
            return;
        }
        StartBuddySong(song, m_strPlayingOwner);
        return;
    }
    if (ownerRow->kind != 0)
        return; // an offline buddy or a group header: nothing to play

    CString buddyList = Lang(L"STR_MAIN_BUDDY_PLAYLIST_NAME"), recentList = Lang(L"STR_MAIN_MY_RECENT_SONGLIST_NAME");
    CSongInfo song;
    BOOL found = m_bHasPlayingLibrary && SUCCEEDED(m_playingLibrary.GetSongById(songId, song));
    if ((m_strPlayingListName == buddyList || m_strPlayingListName == recentList) && !songOwner.IsEmpty() &&
        songOwner.CompareNoCase(m_strUserEmail) != 0)
    {
        if (!CheckBuddySongOwner(songOwner, force != NULL))
            return;
        if (!found)
        {
            ++m_nSkipCount;
            OnNext();
            return;
        }
        StartBuddySong(song, songOwner);
        return;
    }
    m_sliderProgress.SetLimit(m_sliderProgress.m_nMax);
    m_sliderProgress.SetPos(0);
    if (!found)
    {
        ++m_nSkipCount;
        OnNext();
        return;
    }
    long result = m_player.PlayLocalMusic(song.GetId(), song.GetHash(), song.GetPlayUrl(), m_strUserEmail,
                                          SizeOf(song));
    if (result == 1)
    {
        record->unavailable = 1;
        m_listSongs.RedrawItems(row, row);
        ++m_nSkipCount;
        OnNext();
        return;
    }
    OnSongStarted(song, TRUE);
}

void CDlgMain::PlayAdjacentSong(int step)
{
    // Rows marked missing are passed over; a list of nothing but such rows
    // would never end, so these passes count towards the skip limit too.
    if (m_nSkipCount > kSkipLimit)
    {
        StopAtSkipLimit();
        return;
    }
    if (m_strPlayingSongId.IsEmpty())
    {
        StopPlayback(0);
        ClearPlayingMarks();
        UpdatePlayButtons(FALSE);
        return;
    }
    BOOL buddyOwner = !m_strPlayingOwner.IsEmpty() && m_strPlayingOwner.CompareNoCase(m_strUserEmail) != 0;
    if (buddyOwner)
        CBuddyCommands::PushStopTransfer(m_strPlayingOwner, m_strPlayingSongId);
    StopPlayback(1);

    // The songs of the playing list.
    std::vector<CString> ids;
    if (m_bHasPlayingLibrary)
    {
        if (m_strPlayingListName == Lang(L"STR_MAIN_TOTAL_SONGLIST_NAME"))
        {
            CSongInfo song;
            for (int i = 0; i < m_playingLibrary.GetSongCount(); ++i)
                if (SUCCEEDED(m_playingLibrary.GetSongAt(i, song)))
                    ids.push_back(song.GetId());
        }
        else
        {
            CPlaylist playlist;
            if (SUCCEEDED(m_playingLibrary.GetPlaylistByName(m_strPlayingListName, playlist)))
                for (int i = 0; i < playlist.GetSongCount(); ++i)
                {
                    CString id;
                    playlist.GetSongIdAt(i, id);
                    ids.push_back(id);
                }
        }
    }
    int n = static_cast<int>(ids.size());
    if (n == 0)
    {
        OnStop();
        return;
    }
    long long next = (static_cast<long long>(n) + m_nPlayingIndex + step) % n;
    if (next < 0)
        next += n;
    m_nPlayingIndex = static_cast<int>(next);
    CSongInfo song;
    if (ids[m_nPlayingIndex].IsEmpty() || FAILED(m_playingLibrary.GetSongById(ids[m_nPlayingIndex], song)))
    {
        OnStop();
        return;
    }
    m_strPlayingSongId = song.GetId();

    CString buddyList = Lang(L"STR_MAIN_BUDDY_PLAYLIST_NAME"), recentList = Lang(L"STR_MAIN_MY_RECENT_SONGLIST_NAME");
    BOOL ordinary = !IsReservedListName(m_strPlayingListName, TRUE);
    SongRowData* shownRow = m_listSongs.GetRow(m_nPlayingIndex);
    if (!(ordinary && !buddyOwner) && shownRow && shownRow->unavailable)
    {
        ++m_nSkipCount;
        PlayAdjacentSong(step);
        return;
    }

    if (buddyOwner || m_strPlayingOwner.IsEmpty())
    {
        CFriendItem* ownerRow = LeftBar().GetItem(LeftBar().FindItem(m_strPlayingOwner));
        if (!ownerRow || (ownerRow->kind != 1 && ownerRow->kind != 2) || ownerRow->subOrder == 0)
        {
            OnStop();
            return;
        }
        StartBuddySong(song, m_strPlayingOwner);
        return;
    }
    if (m_strPlayingListName == buddyList)
    {
        CFriendItem* ownerRow = LeftBar().GetItem(LeftBar().FindItem(song.GetOwner()));
        if (!ownerRow || ownerRow->kind < 2 || ownerRow->subOrder < 1)
        {
            OnStop();
            return;
        }
        StartBuddySong(song, song.GetOwner());
        return;
    }
    if (m_strPlayingListName == recentList && !IsLocalSongType(song.GetType()))
    {
        EndBufferingDisplay();
        StartBuddySong(song, song.GetOwner());
        return;
    }
    // An ordinary own list, the all-songs list, or a local song of the recent list.
    m_sliderProgress.SetLimit(m_sliderProgress.m_nMax);
    m_sliderProgress.SetPos(0);
    if (!IsLocalSongType(song.GetType()))
    {
        ++m_nSkipCount;
        PlayAdjacentSong(step);
        return;
    }
    long result = m_player.PlayLocalMusic(song.GetId(), song.GetHash(), song.GetPlayUrl(), m_strUserEmail,
                                          SizeOf(song));
    if (result == 1)
    {
        ++m_nSkipCount;
        PlayAdjacentSong(step);
        return;
    }
    if (result != 0)
    {
        OnStop();
        return;
    }
    OnSongStarted(song, FALSE);
}

void CDlgMain::OnSongStarted(const CSongInfo& song, BOOL fromRow)
{
    int listRow = m_listSongLists.GetSafeHwnd() ? m_listSongLists.FindList(m_strPlayingListName) : -1;
    BOOL shownIsPlaying = m_strShownOwner == m_strPlayingOwner && m_strShownListName == m_strPlayingListName;
    if (listRow >= 0 && (fromRow || shownIsPlaying))
    {
        if (!fromRow)
            m_listSongs.EnsureVisible(m_nPlayingIndex, FALSE);
        m_listSongs.SetPlayingMark(m_nPlayingIndex);
        m_listSongLists.SetPlayingMark(listRow);
        LeftBar().MarkItem(LeftBar().FindItem(m_strPlayingOwner));
    }
    m_strPlayingSongId = song.GetId();
    CString artist = song.GetArtist();
    ShowSongTitle(song.GetTitle(), artist);
    AddToRecentList();
    UpdatePlayButtons(FALSE);
    if (g_pAppSetting && g_pAppSetting->bListenVisible)
    {
        CString duration;
        duration.Format(L"%I64d", song.GetDuration());
        CString report[7] = {song.GetTitle(), song.GetHash(), artist, m_strPlayingOwner, song.GetFileSize(),
                             duration, song.GetId()};
        PushNowPlaying(report);
    }
}

void CDlgMain::ShowSongTitle(const CString& title, const CString& artist)
{
    CString line = title + L" - " + (artist.IsEmpty() ? Lang(L"INFO_PLAYER_NO_SONG_ARTIST") : artist);
    if (line == L" - ")
        line.Empty();
    if (m_stTitle.GetSafeHwnd())
        m_stTitle.SetText(line);
    if (m_miniPlayer && m_miniPlayer->GetSafeHwnd())
        m_miniPlayer->SetSongTitle(line, TRUE);
}

// ---------------------------------------------------------------------------
// Stop, buttons, the end of a song

void CDlgMain::StopPlayback(int mode)
{
    CString nothing = Lang(L"CONST_MAIN_NO_PLAYING_SONG");
    if (m_stTitle.GetSafeHwnd())
    {
        m_stTitle.SetText(nothing);
        m_stTitle.ShowWindow(SW_SHOW);
        m_stBuffering.ShowWindow(SW_HIDE);
    }
    if (m_miniPlayer && m_miniPlayer->GetSafeHwnd())
        m_miniPlayer->SetSongTitle(nothing, TRUE);
    if (m_stTime.GetSafeHwnd())
        m_stTime.SetText(L"00:00 / 00:00");
    if (!m_strPlayingOwner.IsEmpty() && m_strPlayingOwner.CompareNoCase(m_strUserEmail) != 0)
        CBuddyCommands::PushStopTransfer(m_strPlayingOwner, m_strPlayingSongId);
    EndBufferingDisplay();
    if (mode == 0)
    {
        m_strPlayingOwner.Empty();
        m_strPlayingListName.Empty();
        m_strPlayingSongId.Empty();
        m_nPlayingIndex = -1;
        if (m_sliderProgress.GetSafeHwnd())
        {
            m_sliderProgress.SetLimit(m_sliderProgress.m_nMax);
            m_sliderProgress.SetPos(0);
        }
    }
    m_player.stop_play();
    Messaging().cancelOldSession();
    if (::GetForegroundWindow() == m_hWnd && m_listSongs.GetSafeHwnd())
        m_listSongs.SetFocus();
}

void CDlgMain::OnNext()
{
    if (m_bWebStream)
        m_player.Next();
    else
        PlayAdjacentSong(1);
}

void CDlgMain::OnPrev()
{
    if (m_bWebStream)
        m_player.Prev();
    else
        PlayAdjacentSong(-1);
}

LRESULT CDlgMain::OnPlayAdjacent(WPARAM, LPARAM step)
{
    PlayAdjacentSong(static_cast<int>(step));
    return 0;
}

LRESULT CDlgMain::OnResume(WPARAM, LPARAM)
{
    m_player.resume_play();
    return 0;
}

void CDlgMain::OnPlayPause()
{
    if (m_listSongs.GetItemCount() == 0 && m_strPlayingSongId.IsEmpty())
        return;
    m_btnPlay.EnableWindow(FALSE);
    int row = m_listSongs.GetNextItem(-1, LVNI_SELECTED);
    if (row < 0)
    {
        row = 0;
        SelectListItem(m_listSongs, 0);
    }
    long state = m_player.get_playState();
    if (state == 2)
    {
        if (!m_bMuted)
            m_player.put_volume(0);
        m_player.resume_play();
        StartFade(1);
    }
    else if (state == 3)
        StartFade(0);
    else
        PlayRow(row, NULL);
    m_btnPlay.EnableWindow(TRUE);
}

void CDlgMain::StartFade(int direction)
{
    if (m_hFadeThread)
        ::CloseHandle(m_hFadeThread);
    m_hFadeThread = NULL;
    FadeJob* job = new FadeJob{m_hWnd, direction, m_sliderVolume.GetPos()};
    if (m_bMuted)
    {
        // No volume change while muted: only the pause and the buttons.
        delete job;
        OnFadeStep(static_cast<WPARAM>(m_sliderVolume.GetPos()), direction == 1 ? 1 : 2);
        return;
    }
    m_hFadeThread = ::CreateThread(NULL, 0, &FadeThread, job, 0, NULL);
    if (!m_hFadeThread)
    {
        delete job;
        FadeVolume(direction);
    }
}

LRESULT CDlgMain::OnFadeStep(WPARAM volume, LPARAM end)
{
    if (end == 0)
    {
        if (!m_bMuted)
            m_player.put_volume(static_cast<unsigned int>(volume));
        return 0;
    }
    if (end == 2)
    {
        m_player.pause_play();
        if (!m_bMuted)
            m_player.put_volume(static_cast<unsigned int>(volume));
    }
    UpdatePlayButtons(FALSE);
    return 0;
}

LRESULT CDlgMain::OnFadeMessage(WPARAM direction, LPARAM)
{
    FadeVolume(static_cast<int>(direction));
    return 0;
}

void CDlgMain::FadeVolume(int direction)
{
    int target = m_sliderVolume.GetPos();
    if (!m_bMuted)
        for (int volume : FadeSteps(direction, target))
        {
            m_player.put_volume(static_cast<unsigned int>(volume));
            ::Sleep(kFadeStepMs);
        }
    OnFadeStep(static_cast<WPARAM>(target), direction == 1 ? 1 : 2);
}

void CDlgMain::OnLoopMode()
{
    if (m_nLoopMode < 0 || m_nLoopMode > 2)
        return; // a stored mode the button does not know stays in force
    m_nLoopMode = (m_nLoopMode + 1) % 3;
    if (g_pAppSetting)
        g_pAppSetting->WriteInt(L"SOFTWARE", L"loopMode", m_nLoopMode);
    if (m_btnLoopMode.GetSafeHwnd())
    {
        ShowAsStripButton(m_btnLoopMode, kLoopLooks[m_nLoopMode].bitmap);
        m_tooltip.AddTool(&m_btnLoopMode, Lang(kLoopLooks[m_nLoopMode].tip));
        m_btnLoopMode.Invalidate(FALSE);
    }
}

void CDlgMain::OnMute()
{
    if (m_bMuted)
    {
        ShowAsStripButton(m_btnMute, IDB_BTN_SOUND_ON);
        m_player.put_volume(static_cast<unsigned int>(m_sliderVolume.GetPos()));
        m_tooltip.AddTool(&m_btnMute, Lang(L"INFO_PLAYER_NO_VOL"));
    }
    else
    {
        ShowAsStripButton(m_btnMute, IDB_BTN_SOUND_OFF);
        m_player.put_volume(0);
        m_tooltip.AddTool(&m_btnMute, Lang(L"INFO_PLAYER_VOL"));
    }
    m_btnMute.Invalidate(FALSE);
    m_bMuted = !m_bMuted;
}

LRESULT CDlgMain::OnSliderMoved(WPARAM id, LPARAM)
{
    if (id == IDC_MAIN_VOLUME)
        ApplyVolumeSlider();
    return 0;
}

LRESULT CDlgMain::OnSliderReleased(WPARAM id, LPARAM)
{
    if (id == IDC_MAIN_VOLUME)
        ApplyVolumeSlider();
    else if (id == IDC_MAIN_PROGRESS)
    {
        double duration = 0;
        m_player.get_duration(&duration);
        int range = m_sliderProgress.m_nMax - m_sliderProgress.m_nMin;
        if (range > 0)
            m_player.put_currentPosition(static_cast<double>(m_sliderProgress.GetPos()) * duration / range);
    }
    return 0;
}

void CDlgMain::ApplyVolumeSlider()
{
    m_player.put_volume(static_cast<unsigned int>(m_sliderVolume.GetPos()));
    if (m_bMuted)
    {
        ShowAsStripButton(m_btnMute, IDB_BTN_SOUND_ON);
        m_btnMute.Invalidate(FALSE);
        m_bMuted = FALSE;
    }
}

void CDlgMain::UpdateProgressSlider()
{
    double duration = 0;
    if (m_strPlayingSongId.IsEmpty() || m_player.get_duration(&duration) != 0 || duration <= 0)
        return;
    double position = m_player.get_currentPosition();
    if (m_sliderProgress.GetSafeHwnd() && m_sliderProgress.IsWindowVisible())
        m_sliderProgress.SetPos(static_cast<int>(position * (m_sliderProgress.m_nMax / duration)));
    if (m_stTime.GetSafeHwnd())
        m_stTime.SetText(TimeText(position) + L" / " + TimeText(duration));
}

void CDlgMain::UpdatePlayButtons(BOOL starting)
{
    if (!m_btnPlay.GetSafeHwnd())
        return;
    if (starting)
    {
        ShowAsStripButton(m_btnPlay, IDB_BTN_PLAY);
        m_btnPlay.EnableWindow(FALSE);
        m_btnStop.EnableWindow(TRUE);
        m_btnPrevious.EnableWindow(FALSE);
        m_btnNext.EnableWindow(FALSE);
        m_btnPushSong.EnableWindow(FALSE);
        m_btnLoopMode.EnableWindow(FALSE);
        return;
    }
    m_btnPrevious.EnableWindow(TRUE);
    m_btnNext.EnableWindow(TRUE);
    m_btnLoopMode.EnableWindow(TRUE);
    long state = m_player.get_playState();
    BOOL known = TRUE, paused = TRUE;
    switch (state)
    {
    case 1:
    case 10:
    case 2:
        ShowAsStripButton(m_btnPlay, IDB_BTN_PLAY);
        m_tooltip.AddTool(&m_btnPlay, Lang(L"INFO_PLAYER_PLAY"));
        m_btnStop.EnableWindow(state == 2);
        break;
    case 3:
    case 6:
    case 9:
        ShowAsStripButton(m_btnPlay, IDB_BTN_PAUSE);
        m_tooltip.AddTool(&m_btnPlay, Lang(L"INFO_PLAYER_PAUSE"));
        m_btnStop.EnableWindow(TRUE);
        paused = FALSE;
        break;
    default:
        known = FALSE;
        break;
    }
    if (known)
    {
        m_btnPlay.EnableWindow(TRUE);
        m_btnPlay.Invalidate(FALSE);
        if (m_miniPlayer && m_miniPlayer->GetSafeHwnd())
            m_miniPlayer->UpdatePlayButton(paused);
    }
    CSongInfo song;
    BOOL ownSong = IsPlayingOwnLibrary() && m_bHasPlayingLibrary &&
                   SUCCEEDED(m_playingLibrary.GetSongById(m_strPlayingSongId, song)) && song.GetType() != L"1" &&
                   song.GetType() != L"2" && song.GetType() != L"3";
    m_btnPushSong.EnableWindow(ownSong);
}

LRESULT CDlgMain::OnPlayerEvent(WPARAM event, LPARAM value)
{
    if (event == DLL_WMP_BUFFERING)
    {
        if (value != 0)
        {
            if (!m_timerBuffering)
                StartBufferingDisplay();
        }
        else
            EndBufferingDisplay();
        return 0;
    }
    if (event == DLL_WMP_MEDIAERROR)
    {
        // The song cannot be played: it counts as skipped, and the next one plays.
        ++m_nSkipCount;
        OnNext();
        return 0;
    }
    if (event != DLL_WMP_PLAYSTATECHANGE)
        return 0;
    BOOL plays = !m_strPlayingSongId.IsEmpty();
    if (value == 1)
    {
        CString nothing[7];
        PushNowPlaying(nothing);
        if (m_nLoopMode != 0 && plays)
            m_player.resume_play();
    }
    else if (value == 8 && plays)
    {
        if (m_nLoopMode == 0)
        {
            if (!m_bWebStream)
                PostMessage(WM_USER + 17, 0, 1);
        }
        else if (m_nLoopMode == 2)
        {
            srand(static_cast<unsigned>(time(NULL)));
            int step = rand();
            if (!m_bWebStream)
                PostMessage(WM_USER + 17, 0, step);
        }
        else
            PostMessage(WM_USER + 18, 0, 0);
    }
    return 0;
}

// ---------------------------------------------------------------------------
// Buffering display

void CDlgMain::StartBufferingDisplay()
{
    m_timerBuffering = SetTimer(TIMER_MAIN_BUFFERING, 200);
    if (m_sliderProgress.GetSafeHwnd())
    {
        m_sliderProgress.ShowWindow(SW_HIDE);
        m_stBusy.ShowWindow(SW_SHOWNOACTIVATE);
        m_stBusy.m_nBaseID = IDB_BUSY_FRAME_01;
        m_stBusy.m_bRunning = TRUE;
        m_stBusy.SetTimer(m_stBusy.m_nTimerID, 44, NULL);
        m_stTitle.ShowWindow(SW_HIDE);
        m_stBuffering.ShowWindow(SW_SHOW);
    }
    if (m_miniPlayer && m_miniPlayer->GetSafeHwnd())
        m_miniPlayer->SwitchTextLine(0, TRUE);
    if (m_player.get_playState() == 2)
    {
        if (m_btnPlay.GetSafeHwnd())
        {
            ShowAsStripButton(m_btnPlay, IDB_BTN_PLAY);
            m_tooltip.AddTool(&m_btnPlay, Lang(L"INFO_PLAYER_PLAY"));
        }
        if (m_miniPlayer && m_miniPlayer->GetSafeHwnd())
            m_miniPlayer->UpdatePlayButton(TRUE);
        m_player.resume_play();
    }
    if (m_btnPlay.GetSafeHwnd())
        m_btnPlay.EnableWindow(FALSE);
}

void CDlgMain::EndBufferingDisplay()
{
    if (m_timerBuffering)
        KillTimer(TIMER_MAIN_BUFFERING);
    m_timerBuffering = 0;
    if (!m_sliderProgress.GetSafeHwnd())
        return;
    m_stBusy.Stop();
    m_stBusy.ShowWindow(SW_HIDE);
    m_sliderProgress.ShowWindow(SW_SHOW);
    if (!m_bSongLoaded)
        m_btnPlay.EnableWindow(TRUE);
    m_stTitle.ShowWindow(SW_SHOW);
    m_stBuffering.ShowWindow(SW_HIDE);
    if (m_miniPlayer && m_miniPlayer->GetSafeHwnd())
        m_miniPlayer->SwitchTextLine(1, TRUE);
}

// ---------------------------------------------------------------------------
// The recent list

void CDlgMain::PruneRecentList(CSongLibrary& library)
{
    CPlaylist recent, pushed;
    if (FAILED(library.GetPlaylistByName(Lang(L"STR_MAIN_MY_RECENT_SONGLIST_NAME"), recent)) ||
        FAILED(library.GetPlaylistByName(Lang(L"STR_MAIN_BUDDY_PLAYLIST_NAME"), pushed)))
        return;
    if (library.CountSongsOfType(L"2") > recent.GetSongCount() + pushed.GetSongCount())
    {
        CSongInfo song;
        for (int i = library.GetSongCount() - 1; i >= 0; --i)
            if (SUCCEEDED(library.GetSongAt(i, song)) && song.GetType() == L"2" &&
                recent.IndexOfSong(song.GetId()) < 0 && pushed.IndexOfSong(song.GetId()) < 0)
                library.RemoveSong(song);
    }
    if (recent.GetSongCount() > kRecentListSize)
    {
        while (recent.GetSongCount() > kRecentListSize)
        {
            CString id;
            recent.GetSongIdAt(0, id);
            recent.RemoveSongId(id);
        }
        library.UpdatePlaylist(recent);
    }
}

void CDlgMain::AddToRecentList()
{
    CSongInfo song;
    if (!m_bHasPlayingLibrary || FAILED(m_playingLibrary.GetSongById(m_strPlayingSongId, song)))
        return;
    CString artist = song.GetArtist(), title = song.GetTitle();
    if (CListenLog* log = CListenLog::GetInstance())
        log->AddSong(artist, title);
    if (CDataClient* data = CDataClient::GetInstance())
    {
        CString text;
        text.Format(L"%s &.& %s &.& %s", (LPCWSTR)song.GetHash(), (LPCWSTR)title, (LPCWSTR)artist);
        data->QueueRequest(5, text, song.GetHash());
    }

    CClientApp* app = GetClientApp();
    if (!app)
        return;
    CString recentName = Lang(L"STR_MAIN_MY_RECENT_SONGLIST_NAME");
    if (!IsShowingOwnLibrary())
    {
        CSongLibrary own;
        CPlaylist recent;
        if (FAILED(own.LoadFromFile(app->GetMyPlaylistPath())) ||
            FAILED(own.GetPlaylistByName(recentName, recent)) || recent.IndexOfSong(song.GetId()) >= 0)
            return;
        if (!m_strPlayingOwner.IsEmpty() && m_strPlayingOwner.CompareNoCase(m_strUserEmail) != 0)
        {
            song.SetOwner(m_strPlayingOwner);
            song.SetType(L"2");
        }
        own.AddSongToPlaylist(song, recent);
        PruneRecentList(own);
        own.SaveToFile(app->GetMyPlaylistPath());
        CountOwnSongs();
        return;
    }
    CPlaylist recent;
    if (FAILED(m_shownLibrary.GetPlaylistByName(recentName, recent)) || recent.IndexOfSong(song.GetId()) >= 0)
        return;
    m_shownLibrary.AddSongToPlaylist(song, recent);
    PruneRecentList(m_shownLibrary);
    m_shownLibrary.SaveToFile(app->GetMyPlaylistPath());
    int row = m_listSongLists.GetSafeHwnd() ? m_listSongLists.FindList(recentName) : -1;
    if (CDListItem* record = m_listSongLists.GetRow(row))
    {
        if (SUCCEEDED(m_shownLibrary.GetPlaylistByName(recentName, recent)))
            record->songCount = recent.GetSongCount();
        m_listSongLists.RedrawItems(row, row);
    }
    if (m_strShownListName == recentName && row >= 0)
        ShowSongList(row, TRUE, FALSE);
    CountOwnSongs();
}
