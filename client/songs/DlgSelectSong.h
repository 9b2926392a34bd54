// CDlgSelectSong: sends one song the user picks from the own library (its
// permanent songs) to a given buddy.
#pragma once

#include "DlgPushSong.h"

class CDlgSelectSong : public CDlgPushSong
{
  public:
    enum { IDD = 344 };

    // The target buddy goes into m_target (buddyId, nick) before DoModal.
    explicit CDlgSelectSong(CWnd* parent = NULL);

  protected:
    void FillList() override;
    void OnOK() override;
};
