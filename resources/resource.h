// Resource ids of Yeb: dialog templates, their controls, menus, commands,
// strings and the artwork. The artwork block is kept by tools/make-art.py;
// everything else is edited here.
#pragma once

// ---------------------------------------------------------------------------
// Dialog templates
#define IDD_ABOUT                        100   // about box
#define IDD_MAIN                         102   // main window (CDlgMain)
#define IDD_LOGIN                        131   // login dialog (CDlgLogin)
#define IDD_MESSAGE                      133   // skinned message box (CDlgMessage)
#define IDD_CONFIG                       183   // settings dialog (CDlgConfig)
#define IDD_PAGE_PRIVATE                 194   // settings page: personal
#define IDD_PAGE_SOFTWARE                195   // settings page: software
#define IDD_PAGE_SOUND                   196   // settings page: notifications
#define IDD_ANIMATION                    227   // layered window of the loading animations (CDlgAnimation)
#define IDD_NOTIFY_POPUP                 230   // notification pop-up (CTaskBarNotiferWnd)
#define IDD_ADD_FRIEND                   322   // add buddy (CDlgAddFriend)
#define IDD_ADD_FRIEND_FINAL             323   // add buddy result (CDlgAddFriendFinal)
#define IDD_CHILD_SONG                   324   // song panes (CDlgChildSong)
#define IDD_CHILD_FRIEND                 325   // buddy-list pane (CDlgChildFriend)
#define IDD_CHAT                         336   // chat window (CDlgInstantMessaging)
#define IDD_SELECT_SONG                  344   // choose a song for a buddy (CDlgSelectSong)
#define IDD_SELECT_FRIEND                345   // choose a buddy for a song (CDlgSelectFriend)
#define IDD_PAGE_CHANGE_PASSWORD         373   // settings page: change password
#define IDD_COLLECT_SONG                 374   // collect a song (CDlgCollectSong)
#define IDD_PAGE_HOT_KEY                 375   // settings page: boss key
#define IDD_MINI_PLAYER                  377   // mini player (CDlgMiniPlayer)
#define IDD_WEB_SONG_BROWSER             393   // web song browser (CDlgWebSongBrowser)
#define IDD_WEB_DOWNLOAD_PRE             394   // download target choice (CDlgWebSongDownloadPre)
#define IDD_BROWSER_TOOLBAR              401   // web song browser toolbar (CDlgBrowserToolBar)
#define IDD_FOLLOW_CONFIRM               408   // follow confirmation (CDlgConfirmListen)
#define IDD_SONG_DOWNLOAD                412   // song download window (CDlgSongDownload)
#define IDD_BOARD                        423   // message board (CBoard)
#define IDD_UPLOAD                       442   // upload window (CUploadMusicDlg)
#define IDD_FLOAT_TOOLBAR                448   // floating toolbar (CFloatToolbar)
#define IDD_DRAG_TIP                     748   // import progress (CDlgDragTip)
#define IDD_BUDDY_CARD                   769   // buddy card (CDlgBuddyInfo)
#define IDD_SELECT_AVATAR                948   // avatar chooser (CDlgSelectAvatar)

// ---------------------------------------------------------------------------
// Menus
#define IDR_MENU_MAIN                    321   // main menu: presence, settings, help, log out, exit
#define IDR_MENU_CONTEXT                 351   // ten context menus, chosen by position
#define IDR_MENU_STATUS                  352   // presence menu of the nick button

// Positions of the context menus in IDR_MENU_CONTEXT
#define MENU_CONTEXT_LOOP_MODE           0
#define MENU_CONTEXT_ADD_SONG            1
#define MENU_CONTEXT_SONG_ROW            2
#define MENU_CONTEXT_BUDDY_ROW           3
#define MENU_CONTEXT_DELETE              4
#define MENU_CONTEXT_BUDDY_ROW_KEEP      5
#define MENU_CONTEXT_SEARCH_SITES        6
#define MENU_CONTEXT_TRAY                7
#define MENU_CONTEXT_LIST_SPACE          8
#define MENU_CONTEXT_SONG_SPACE          9

// ---------------------------------------------------------------------------
// Strings
#define IDS_ABOUTBOX                     101   // system-menu entry of the about box

// System-menu command of the about box (low four bits ignored by WM_SYSCOMMAND)
#define IDM_ABOUTBOX                     0x0010

// ---------------------------------------------------------------------------
// Commands of menus, tray, context menus and page commands
#define ID_BOARD_OPEN                    108
#define ID_SONGLIST_RENAME               770
#define ID_SONGLIST_PLAY                 771
#define ID_SONGLIST_ADD_SONG             772
#define ID_SONGLIST_DELETE               773
#define ID_WEB_LOGIN                     1240
#define ID_WEB_HOMEPAGE                  32774
#define ID_CHANGE_AVATAR                 32775
#define ID_RECOMMEND_BUDDIES             32776
#define ID_ADD_BUDDY                     32777
#define ID_APP_EXIT_CLIENT               32780
#define ID_SEARCH_SITE_1                 32781
#define ID_SEARCH_SITE_2                 32782
#define ID_SEARCH_SITE_3                 32783
#define ID_SEARCH_SITE_4                 32784
#define ID_SEARCH_SITE_5                 32785
#define ID_BUDDY_MESSAGE                 32787
#define ID_SONG_PLAY                     32794
#define ID_SONG_SEND                     32795
#define ID_SONG_COLLECT                  32796
#define ID_SONG_DELETE                   32798
#define ID_TRAY_CLOSE_WINDOW             32799
#define ID_WINDOW_NOT_TOPMOST            32801
#define ID_WINDOW_TOPMOST                32802
#define ID_BUDDY_DELETE                  32803   // also "show the main window" in the tray and mini-player menu
#define ID_BUDDY_SEND_SONG               32805
#define ID_SONGLIST_NEW                  32806
#define ID_LOOP_MODE_1                   32807
#define ID_IMPORT_FOLDER_LIST            32808
#define ID_LOOP_MODE_2                   32809
#define ID_ADD_SONG_FILES                32810
#define ID_ADD_SONG_FILES_SPACE          32811
#define ID_IMPORT_FOLDER                 32812
#define ID_SETTINGS                      32814
#define ID_BUDDY_VIEW_BUDDIES            32815
#define ID_BUDDY_OPEN_LIBRARY            32817
#define ID_FEEDBACK                      32820
#define ID_HELP_PAGE                     32821
#define ID_PRESENCE_AWAY                 32833
#define ID_PRESENCE_BUSY                 32834
#define ID_ABOUT                         32836
#define ID_PRESENCE_ONLINE               32839
#define ID_PRESENCE_INVISIBLE            32842
#define ID_LOG_OUT                       32846
#define ID_INVITE                        32847
#define ID_SONG_COPY_TO_LIST             32848
#define ID_PAGE_ADDSONG                  32849
#define ID_PAGE_SENDFRIEND               32850
#define ID_PAGE_ADDFRIEND                32851
#define ID_PAGE_CLOSE                    32852
#define ID_PAGE_LOGINCLIENT              32853
#define ID_PAGE_YAOQING                  32854
#define ID_PAGE_PLAYRADIO                32855
#define ID_PAGE_VOLUNTEER                32856
#define ID_PAGE_DOWNLOAD                 32857
#define ID_PAGE_OPENWINDOW               32858
#define ID_PAGE_OPENWINDOW_AD            32859
#define ID_PAGE_GOTO                     32860
#define ID_SONG_APPLY                    32861
#define ID_SONG_UPLOAD                   32862
#define ID_PAGE_COMPANYFINISHED          32863
#define ID_PAGE_CLOSEANDSTARTUP          32864
#define ID_PAGE_COMPANYPLAYPLS           32865
#define ID_PAGE_JOINFINISHED             32867
#define ID_PAGE_GOTOPAGE                 32868
#define ID_SONG_SEARCH                   32869
#define ID_PAGE_LOOKOVER                 32870
#define ID_PAGE_OPENQ                    32871
#define ID_PAGE_ADDUID                   32872
#define ID_PAGE_SHOWLIST                 32873
#define ID_PAGE_MODIFYNICK               32874
#define ID_PAGE_MODIFYPORTRAIT           32875

// ---------------------------------------------------------------------------
// Controls of the main window (IDD_MAIN) and its panes
#define IDC_MAIN_NICK                    900
#define IDC_MAIN_CLOSE                   901
#define IDC_MAIN_VOLUME                  904
#define IDC_MAIN_TITLE_TEXT              909
#define IDC_MAIN_NEXT                    910
#define IDC_MAIN_BUFFERING_TEXT          911
#define IDC_MAIN_MUTE                    912
#define IDC_MAIN_WEB_BACK                913
#define IDC_MAIN_WEB_FORWARD             914
#define IDC_MAIN_ADD_BUDDY               915
#define IDC_MAIN_ADD_SONG_LIST           917
#define IDC_MAIN_ADD_SONG                919
#define IDC_MAIN_TIME_TEXT               921
#define IDC_MAIN_SIGNATURE               922
#define IDC_MAIN_AVATAR                  942
#define IDC_MAIN_BUFFERING_BAR           943
#define IDC_MAIN_SPLITTER_LEFT           944
#define IDC_MAIN_INVITE                  950
#define IDC_MAIN_PLAY                    1025
#define IDC_MAIN_PREVIOUS                1079
#define IDC_MAIN_STOP                    1081
#define IDC_MAIN_LOOP_MODE               1083
#define IDC_MAIN_PUSH_SONG               1085
#define IDC_MAIN_MENU                    1090
#define IDC_MAIN_MINI_PLAYER             1091
#define IDC_MAIN_MINIMISE                1092
#define IDC_MAIN_MAXIMISE                1128
#define IDC_MAIN_PROGRESS                1145
#define IDC_MAIN_BROWSER                 1153
#define IDC_MAIN_MUSIC_CHANNEL           1155
#define IDC_MAIN_HOME_PAGE               1156
#define IDC_FRIEND_LIST                  1088  // buddy list in IDD_CHILD_FRIEND (also the list of IDD_SELECT_FRIEND)
#define IDC_SONG_SPLITTER                945   // IDD_CHILD_SONG
#define IDC_SONG_LIST_LIST               947   // IDD_CHILD_SONG: song-list list
#define IDC_SONG_LIST                    1033  // IDD_CHILD_SONG: song list

// Tray icon id and hot key id of the main window
#define ID_TRAY_ICON                     105
#define ID_BOSS_HOT_KEY                  49150

// Login dialog (IDD_LOGIN)
#define IDC_LOGIN_USER                   924
#define IDC_LOGIN_PASSWORD               925
#define IDC_LOGIN_STATUS                 929
#define IDC_LOGIN_PAGE                   931
#define IDC_LOGIN_USER_LABEL             941
#define IDC_LOGIN_MINIMISE               1022
#define IDC_LOGIN_REGISTER               1044
#define IDC_LOGIN_NOW                    1045
#define IDC_LOGIN_FORGOT_PASSWORD        1048
#define IDC_LOGIN_PASSWORD_LABEL         1050
#define IDC_LOGIN_SAVE_LABEL             1051
#define IDC_LOGIN_CLOSE                  1060
#define IDC_LOGIN_SAVE                   1061
#define IDC_LOGIN_CANCEL                 1132
#define IDC_LOGIN_WELCOME_TEXT           1225
#define IDC_LOGIN_WELCOME_REGISTER       1226
#define IDC_LOGIN_WELCOME_QUESTION       1227
#define IDC_LOGIN_WELCOME_MEMBER         1228
#define IDC_LOGIN_WELCOME_LOGIN          1229

// Message box (IDD_MESSAGE)
#define IDC_MESSAGE_CLOSE                1089
#define IDC_MESSAGE_TEXT                 1136
#define IDC_MESSAGE_SECOND_LINE          1137

// Settings dialog (IDD_CONFIG) and its pages
#define IDC_CONFIG_PAGE_PRIVATE          3
#define IDC_CONFIG_PAGE_SOFTWARE         7
#define IDC_CONFIG_PAGE_SOUND            8
#define IDC_CONFIG_APPLY                 9
#define IDC_CONFIG_PAGE_PASSWORD         10
#define IDC_CONFIG_PAGE_HOT_KEY          11
#define IDC_CONFIG_MINIMISE              1022
#define IDC_CONFIG_CLOSE                 1060
#define IDC_PRIVATE_NAME                 1036
#define IDC_PRIVATE_AGE                  1038
#define IDC_PRIVATE_NICK                 1062
#define IDC_PRIVATE_SIGNATURE            1063
#define IDC_PRIVATE_REGION               1067
#define IDC_PRIVATE_GENDER_SECRET        1130
#define IDC_PRIVATE_GENDER_MALE          1138
#define IDC_PRIVATE_GENDER_FEMALE        1139
#define IDC_PRIVATE_FINDABLE             1238
#define IDC_PRIVATE_PUBLIC_BUDDIES       1239
#define IDC_PRIVATE_MORE                 1240
#define IDC_SOFTWARE_FOLLOW              1031
#define IDC_SOFTWARE_AWAY_MINUTES        1037
#define IDC_SOFTWARE_AUTO_AWAY           1039
#define IDC_SOFTWARE_SAVE_PATH           1041
#define IDC_SOFTWARE_AUTO_START          1073
#define IDC_SOFTWARE_SAVE_LOGIN          1074
#define IDC_SOFTWARE_BROWSE              905
#define IDC_SOFTWARE_CLEAR_CACHE         951
#define IDC_SOUND_NOTIFY_ONLINE          902
#define IDC_SOUND_NOTIFY_MESSAGE         903
#define IDC_SOUND_NOTIFY_LISTEN          906
#define IDC_SOUND_NOTIFY_GET             908
#define IDC_SOUND_NOTIFY_PUSH            911
#define IDC_SOUND_SOUND_ONLINE           913
#define IDC_SOUND_SOUND_MESSAGE          914
#define IDC_SOUND_SOUND_LISTEN           916
#define IDC_SOUND_SOUND_GET              918
#define IDC_SOUND_SOUND_PUSH             920
#define IDC_SOUND_FOLLOW_PROMPT          949
#define IDC_HOT_KEY_EDIT                 1171
#define IDC_HOT_KEY_DEFAULT_TEXT         1172
#define IDC_HOT_KEY_USE_DEFAULT          1174
#define IDC_HOT_KEY_USE_OWN              1175
#define IDC_PASSWORD_HINT                1120
#define IDC_PASSWORD_LINK                1131

// Buddy card (IDD_BUDDY_CARD)
#define IDC_CARD_STATUS                  926
#define IDC_CARD_AVATAR                  928
#define IDC_CARD_NICK                    930
#define IDC_CARD_SIGNATURE               933
#define IDC_CARD_LABEL_1                 934
#define IDC_CARD_TOTAL_SONGS             935
#define IDC_CARD_LABEL_2                 936
#define IDC_CARD_NEW_SONGS               937
#define IDC_CARD_ACTION_3                938
#define IDC_CARD_ACTION_1                939
#define IDC_CARD_ACTION_2                940
#define IDC_CARD_ADDRESS                 941
#define IDC_CARD_CLOSE                   1089

// Add buddy (IDD_ADD_FRIEND, IDD_ADD_FRIEND_FINAL)
#define IDC_ADD_FRIEND_PROMPT            1065
#define IDC_ADD_FRIEND_REQUEST           1073
#define IDC_ADD_FRIEND_HIDDEN            1101
#define IDC_ADD_FRIEND_ADDRESS           1102
#define IDC_ADD_FRIEND_CLOSE             1103
#define IDC_ADD_FRIEND_FINAL_CLOSE       1104
#define IDC_ADD_FRIEND_MINIMISE          1105
#define IDC_ADD_FRIEND_HINT              1127

// Chat window (IDD_CHAT)
#define IDC_CHAT_MINIMISE                1114
#define IDC_CHAT_CLOSE                   1115
#define IDC_CHAT_PUSH_SONG               1117
#define IDC_CHAT_PORTRAIT                1118
#define IDC_CHAT_PRESENCE                1119
#define IDC_CHAT_INPUT                   1129
#define IDC_CHAT_HISTORY                 1146
#define IDC_CHAT_SEND                    1147
#define IDC_CHAT_NICK                    1149
#define IDC_CHAT_LISTENING               1150
#define IDC_CHAT_AD_LINK                 1120

// Notification pop-up (IDD_NOTIFY_POPUP)
#define IDC_POPUP_SETTINGS               1154
#define IDC_POPUP_TEXT                   10001

// Message board (IDD_BOARD)
#define IDC_BOARD_VIEW                   1146
#define IDC_BOARD_INPUT                  1242
#define IDC_BOARD_ANONYMOUS              1244
#define IDC_BOARD_PIN                    1245
#define IDC_BOARD_STATUS                 1246
#define IDC_BOARD_ANONYMOUS_LABEL        1247
#define IDC_BOARD_PIN_LABEL              1248
#define IDC_BOARD_TITLE                  1249
#define IDC_BOARD_RETRY                  1250

// Choose buddy / song (IDD_SELECT_FRIEND, IDD_SELECT_SONG)
#define IDC_SELECT_SONG_LIST             946
#define IDC_SELECT_FRIEND_MINIMISE       1106
#define IDC_SELECT_FRIEND_CLOSE          1107
#define IDC_SELECT_SONG_MINIMISE         1108
#define IDC_SELECT_SONG_CLOSE            1109
#define IDC_SELECT_SONG_PROMPT           1110
#define IDC_SELECT_HINT                  1111
#define IDC_SELECT_FRIEND_PROMPT         1113

// Import progress (IDD_DRAG_TIP)
#define IDC_DRAG_COUNT                   1137
#define IDC_DRAG_PROCESSING              1143
#define IDC_DRAG_PATH                    1144
#define IDC_DRAG_PROGRESS                1145

// Collect a song (IDD_COLLECT_SONG) and download target choice (IDD_WEB_DOWNLOAD_PRE)
#define IDC_COLLECT_CLOSE                1157
#define IDC_COLLECT_OK                   1158
#define IDC_COLLECT_CANCEL               1159
#define IDC_COLLECT_FOLDER               1161
#define IDC_SONG_LIST_COMBO              1162
#define IDC_COLLECT_LABEL                1163
#define IDC_COLLECT_FOLDER_LABEL         1164
#define IDC_COLLECT_LIST_LABEL           1165
#define IDC_COLLECT_TITLE                1166
#define IDC_COLLECT_CHANGE_FOLDER        1167
#define IDC_COLLECT_NEW_LIST             1168
#define IDC_COLLECT_EXISTING_LIST        1169
#define IDC_COLLECT_NEW_NAME             1221
#define IDC_PRE_OK                       1186
#define IDC_PRE_CANCEL                   1187
#define IDC_PRE_CHANGE_FOLDER            1188
#define IDC_PRE_FOLDER                   1189
#define IDC_PRE_CLOSE                    1190
#define IDC_PRE_FILE_NAME                1191
#define IDC_PRE_FOLDER_LABEL             1192
#define IDC_PRE_LIST_LABEL               1193
#define IDC_PRE_FILE_LABEL               1194
#define IDC_PRE_NEW_LIST                 1222
#define IDC_PRE_EXISTING_LIST            1223
#define IDC_PRE_NEW_NAME                 1224

// Mini player (IDD_MINI_PLAYER)
#define IDC_MINI_PLAY                    1025
#define IDC_MINI_PREVIOUS                1079
#define IDC_MINI_STOP                    1081
#define IDC_MINI_NEXT                    910
#define IDC_MINI_SHOW_MAIN               1179
#define IDC_MINI_TITLE                   1180
#define IDC_MINI_STATUS                  1181

// Web song browser (IDD_WEB_SONG_BROWSER, IDD_BROWSER_TOOLBAR)
#define IDC_BROWSER_PAGE                 1182
#define IDC_BROWSER_BOTTOM_PAGE          1183
#define IDC_BROWSER_CLOSE                1184
#define IDC_BROWSER_MINIMISE             1185
#define IDC_BROWSER_BACK                 1193
#define IDC_BROWSER_FORWARD              1194
#define IDC_BROWSER_PUSH                 1195
#define IDC_BROWSER_MAXIMISE             1202
#define IDC_BROWSER_AD_LINK              1209
#define IDC_TOOLBAR_SEARCH_1             1207
#define IDC_TOOLBAR_SEARCH_2             1208
#define IDC_TOOLBAR_IMAGE_1              1209
#define IDC_TOOLBAR_IMAGE_2              1210

// Follow confirmation (IDD_FOLLOW_CONFIRM)
#define IDC_FOLLOW_OK                    1214
#define IDC_FOLLOW_CANCEL                1215
#define IDC_FOLLOW_CLOSE                 1216
#define IDC_FOLLOW_DONT_ASK              1217
#define IDC_FOLLOW_DONT_ASK_LABEL        1218
#define IDC_FOLLOW_QUESTION              1219

// Song download window (IDD_SONG_DOWNLOAD) and upload window (IDD_UPLOAD)
#define IDC_DOWNLOAD_LIST                1230
#define IDC_DOWNLOAD_MINIMISE            1231
#define IDC_DOWNLOAD_CLOSE               1232
#define IDC_DOWNLOAD_RUNNING             1233
#define IDC_DOWNLOAD_WAITING             1234
#define IDC_DOWNLOAD_DONE                1235
#define IDC_DOWNLOAD_FAILED              1236
#define IDC_DOWNLOAD_AD_LINK             1237
#define IDC_UPLOAD_LIST                  1248
#define IDC_UPLOAD_RUNNING               1249
#define IDC_UPLOAD_WAITING               1250
#define IDC_UPLOAD_DONE                  1251
#define IDC_UPLOAD_FAILED                1252
#define IDC_UPLOAD_CLOSE                 1253
#define IDC_UPLOAD_MINIMISE              1254
#define IDC_UPLOAD_AD_LINK               1255

// Floating toolbar (IDD_FLOAT_TOOLBAR)
#define IDC_FLOAT_PLAY                   1256
#define IDC_FLOAT_PUSH                   1257
#define IDC_FLOAT_SEARCH                 1258
#define IDC_FLOAT_BOARD                  1259

// Avatar chooser (IDD_SELECT_AVATAR)
#define IDC_AVATAR_CLOSE                 1093
#define IDC_AVATAR_MINIMISE              1094
#define IDC_AVATAR_MORE                  1095
#define IDC_AVATAR_LIST                  1096
#define IDC_AVATAR_PREVIEW               1097
#define IDC_AVATAR_DELETE                1098
#define IDC_AVATAR_PROMPT                1099
#define IDC_AVATAR_PREVIEW_LABEL         1100
#define IDC_AVATAR_SIZE_HINT             1220

// About box (IDD_ABOUT)
#define IDC_ABOUT_ICON                   1001
#define IDC_ABOUT_VERSION                1002

// ---------------------------------------------------------------------------
// BEGIN ARTWORK IDS (tools/make-art.py keeps this block)
// Bitmaps
#define IDB_BOARD_TITLE_LEFT             9     // board title bar piece
#define IDB_BTN_MAIN_MAXIMISE            127   // maximise (4 states)
#define IDB_MAIN_BOTTOM_LEFT             129   // main window bottom piece
#define IDB_MAIN_BOTTOM                  130   // main window bottom piece
#define IDB_MAIN_BOTTOM_RIGHT            131   // main window bottom piece
#define IDB_MAIN_LEFT                    132   // main and chat window left edge (also the size grip), tiled
#define IDB_MAIN_RIGHT                   133   // main and chat window right edge, tiled
#define IDB_MAIN_TOP_LEFT                134   // main window top-left corner
#define IDB_MAIN_TITLE                   135   // title picture (main window, login dialog)
#define IDB_MAIN_TOP                     136   // main window top edge, tiled
#define IDB_MAIN_TOP_RIGHT               137   // main window top-right corner
#define IDB_BTN_MAIN_CLOSE               138   // close (4 states)
#define IDB_BTN_MAIN_RESTORE             139   // restore (4 states)
#define IDB_BTN_MAIN_MENU                140   // main menu (4 states)
#define IDB_BTN_MAIN_MINIMISE            141   // minimise (4 states)
#define IDB_AVATAR_CHOOSER_TITLE         142   // avatar chooser: title picture
#define IDB_BTN_LOOP_ORDER               143   // loop mode: in order (4 states)
#define IDB_BTN_LOOP_ALL                 144   // loop mode: repeat the list (4 states)
#define IDB_BTN_PUSH_SONG                146   // push the playing song (4 states)
#define IDB_BTN_SOUND_ON                 147   // mute button, sound on (4 states)
#define IDB_BTN_NEXT                     148   // next song (4 states)
#define IDB_BTN_PAUSE                    149   // pause (4 states)
#define IDB_BTN_PLAY                     150   // play (4 states)
#define IDB_BTN_PREVIOUS                 151   // previous song (4 states)
#define IDB_BTN_STOP                     152   // stop (4 states)
#define IDB_BTN_SOUND_OFF                153   // mute button, muted (4 states)
#define IDB_VOLUME_THUMB                 155   // volume slider thumb
#define IDB_VOLUME_THUMB_PRESSED         156   // volume slider thumb
#define IDB_VOLUME_CHANNEL               157   // volume slider channel (normal and active)
#define IDB_BTN_ADD_SONG                 158   // add song (4 states)
#define IDB_BTN_ADD_BUDDY                159   // add buddy (4 states)
#define IDB_BTN_ADD_SONG_LIST            160   // add song list (4 states)
#define IDB_PROGRESS_THUMB               170   // play position slider thumb
#define IDB_PROGRESS_THUMB_PRESSED       171   // play position slider thumb
#define IDB_PROGRESS_CHANNEL_ACTIVE      172   // play position slider channel
#define IDB_PROGRESS_CHANNEL_LIMIT       173   // play position slider channel
#define IDB_PROGRESS_CHANNEL             174   // play position slider channel
#define IDB_NICK_BTN_LEFT                176   // nick button: left caps (4 states)
#define IDB_NICK_BTN_MIDDLE              177   // nick button: middle pieces (4 states)
#define IDB_NICK_BTN_RIGHT               178   // nick button: right caps (4 states)
#define IDB_TEXT_BTN_RIGHT               179   // text buttons (OK, Cancel): right caps (4 states)
#define IDB_TEXT_BTN_LEFT                180   // text buttons (OK, Cancel): left caps (4 states)
#define IDB_TEXT_BTN_MIDDLE              181   // text buttons (OK, Cancel): middle pieces (4 states)
#define IDB_FRAME_TOP_RIGHT              182   // frame top-right corner
#define IDB_FRAME_SIDE                   183   // frame left edge and right edge, tiled
#define IDB_BTN_CLOSE                    184   // close (dialogs) (4 states)
#define IDB_FRAME_BOTTOM_LEFT            185   // frame bottom-left corner
#define IDB_FRAME_TOP_LEFT               186   // frame top-left corner, 60 x 29
#define IDB_FRAME_TOP                    187   // frame top edge, tiled
#define IDB_FRAME_BOTTOM_RIGHT           188   // frame bottom-right corner
#define IDB_FRAME_BOTTOM                 189   // frame bottom edge, tiled
#define IDB_BTN_MINIMISE                 190   // minimise (dialogs) (4 states)
#define IDB_SIGN_BTN_LEFT                191   // signature button: left caps (4 states)
#define IDB_SIGN_BTN_MIDDLE              192   // signature button: middle pieces (4 states)
#define IDB_SIGN_BTN_RIGHT               193   // signature button: right caps (4 states)
#define IDB_PAGE_BTN_LEFT                194   // page selectors and message box buttons: left caps (4 states)
#define IDB_PAGE_BTN_MIDDLE              195   // page selectors and message box buttons: middle pieces (4 states)
#define IDB_PAGE_BTN_RIGHT               196   // page selectors and message box buttons: right caps (4 states)
#define IDB_RADIO_OFF_HOVER              202   // radio not chosen, hover
#define IDB_RADIO_OFF_PRESSED            203   // radio not chosen, pressed
#define IDB_RADIO_ON_HOVER               204   // radio chosen, hover (key 0xECE9D8)
#define IDB_RADIO_ON                     205   // radio chosen (key 0xECE9D8)
#define IDB_RADIO_OFF                    206   // radio not chosen; also the chosen one pressed
#define IDB_SWITCH_ON_PRESSED            207   // switch on, pressed (key 0x00FF00)
#define IDB_SWITCH_ON_HOVER              208   // switch on, hover (key 0x00FF00)
#define IDB_SWITCH_ON                    209   // switch on (key 0x00FF00)
#define IDB_SWITCH_OFF_PRESSED           210   // switch off, pressed (key 0x00FF00)
#define IDB_SWITCH_OFF_HOVER             211   // switch off, hover (key 0x00FF00)
#define IDB_SWITCH_OFF                   212   // switch off (key 0x00FF00)
#define IDB_PAGE_FRAME                   213   // settings page frame (all eight parts)
#define IDB_BTN_MINIMISE_DARK            215   // minimise (login, chat) (4 states)
#define IDB_LOGIN_BTN_LEFT               216   // login buttons: left caps (4 states)
#define IDB_LOGIN_BTN_MIDDLE             217   // login buttons: middle pieces (4 states)
#define IDB_LOGIN_BTN_RIGHT              218   // login buttons: right caps (4 states)
#define IDB_LOGIN_FRAME_BOTTOM_LEFT      219   // frame bottom-left corner
#define IDB_LOGIN_FRAME_LEFT             220   // frame left edge, tiled
#define IDB_LOGIN_FRAME_TOP_LEFT         221   // frame top-left corner, login dialog
#define IDB_LOGIN_FRAME_BOTTOM           222   // frame bottom edge, tiled
#define IDB_LOGIN_FRAME_TOP              223   // frame top edge, tiled
#define IDB_LOGIN_FRAME_BOTTOM_RIGHT     224   // frame bottom-right corner
#define IDB_LOGIN_FRAME_RIGHT            225   // frame right edge, tiled
#define IDB_LOGIN_FRAME_TOP_RIGHT        226   // frame top-right corner
#define IDB_POPUP_SKIN                   228   // notification pop-up picture (its magenta pixels cut the window)
#define IDB_POPUP_SKIN_HOT               229   // notification pop-up picture (its magenta pixels cut the window)
#define IDB_CARD_FRAME_TOP_RIGHT         231   // frame top-right corner
#define IDB_CARD_BTN_LEFT                234   // buddy card actions: left caps (4 states)
#define IDB_CARD_BTN_MIDDLE              235   // buddy card actions: middle pieces (4 states)
#define IDB_CARD_BTN_RIGHT               236   // buddy card actions: right caps (4 states)
#define IDB_BTN_CLOSE_TINY               237   // board and buddy card close (4 states)
#define IDB_CARD_FRAME_BOTTOM_LEFT       238   // frame bottom-left corner
#define IDB_CARD_FRAME_LEFT              239   // frame left edge, tiled
#define IDB_CARD_FRAME_TOP_LEFT          240   // frame top-left corner, buddy card
#define IDB_CARD_FRAME_BOTTOM            241   // frame bottom edge, tiled
#define IDB_CARD_FRAME_TOP               242   // frame top edge, tiled
#define IDB_CARD_FRAME_BOTTOM_RIGHT      243   // frame bottom-right corner
#define IDB_CARD_FRAME_RIGHT             244   // frame right edge, tiled
#define IDB_MAIN_TOP_LEFT_HOT            247   // main window top-left corner while the own card shows
#define IDB_SCROLLBAR_SKIN               298   // scroll-bar skin: 144 x 48, nine columns by three rows of 16 px cells
#define IDB_DEFAULT_AVATAR               299   // default avatar, 42 x 42
#define IDB_DEFAULT_AVATAR_SMALL         300   // default avatar of the buddy list, 30 x 30
#define IDB_SPLITTER_GRIP                309   // splitter grip
#define IDB_HEADER_ITEM                  311   // song list header item
#define IDB_HEADER_DIVIDER               312   // song list header divider
#define IDB_HEADER_BACK                  313   // song list header background and left edge
#define IDB_BAR_FILL                     326   // progress bar fill
#define IDB_BAR_BACK                     327   // progress bar background
#define IDB_MAIN_TITLE_INACTIVE          330   // title picture of the inactive main window
#define IDB_PICTURE_FRAME                331   // avatar chooser: picture frame
#define IDB_PUSH_SONG_TITLE              333   // push-song dialogs: title picture
#define IDB_CHAT_FRAME_BOTTOM_LEFT       337   // frame bottom-left corner
#define IDB_CHAT_FRAME_TOP_LEFT          338   // frame top-left corner, chat window
#define IDB_CHAT_FRAME_BOTTOM            339   // frame bottom edge, tiled
#define IDB_CHAT_FRAME_TOP               340   // frame top edge, tiled
#define IDB_CHAT_FRAME_BOTTOM_RIGHT      341   // frame bottom-right corner
#define IDB_CHAT_FRAME_TOP_RIGHT         342   // frame top-right corner
#define IDB_BTN_CHAT_SEND                343   // chat: send (4 states)
#define IDB_BTN_CHAT_PUSH_SONG           346   // chat: push a song (4 states)
#define IDB_CHAT_LISTENING_BACK          347   // chat: background of the listening line
#define IDB_BTN_CLOSE_SMALL              354   // close (message boxes; four 25 x 20 images) (4 states)
#define IDB_BTN_POPUP_SETTINGS           366   // notification pop-up: sound settings (4 states)
#define IDB_BTN_MUSIC_CHANNEL            371   // music channel (4 states)
#define IDB_BTN_HOME_PAGE                372   // home page (4 states)
#define IDB_BTN_MAIN_MINI_PLAYER         379   // switch to the mini player (4 states)
#define IDB_BTN_MINI_PREVIOUS            380   // mini player: previous
#define IDB_BTN_MINI_PAUSE               381   // mini player: pause
#define IDB_BTN_MINI_PLAY                382   // mini player: play
#define IDB_BTN_MINI_STOP                383   // mini player: stop
#define IDB_BTN_MINI_NEXT                384   // mini player: next
#define IDB_BTN_MINI_SHOW_MAIN           385   // mini player: show the main window
#define IDB_MINI_LEFT                    386   // mini player piece
#define IDB_MINI_MIDDLE                  387   // mini player piece
#define IDB_MINI_RIGHT                   388   // mini player piece
#define IDB_BROWSER_BOTTOM               390   // web song browser bottom (advertisement line)
#define IDB_MINI_TITLE                   391   // mini player piece
#define IDB_BTN_LOOP_ONE                 392   // loop mode: repeat one song (4 states)
#define IDB_BROWSER_BOTTOM_LEFT          396   // web song browser bottom (advertisement line)
#define IDB_BROWSER_BOTTOM_RIGHT         397   // web song browser bottom (advertisement line)
#define IDB_BTN_BROWSER_MAXIMISE         398   // web song browser maximise (4 states)
#define IDB_BTN_BROWSER_RESTORE          400   // web song browser restore (4 states)
#define IDB_BROWSER_BAND                 402   // web song browser band and toolbar background, tiled
#define IDB_TOOLBAR_BTN_LEFT             404   // browser toolbar buttons: left caps (4 states)
#define IDB_TOOLBAR_BTN_MIDDLE           405   // browser toolbar buttons: middle pieces (4 states)
#define IDB_TOOLBAR_BTN_RIGHT            406   // browser toolbar buttons: right caps (4 states)
#define IDB_BTN_INVITE                   409   // send invitation (4 states)
#define IDB_WELCOME_REGISTER             411   // welcome picture button (register now)
#define IDB_BOARD_TITLE_MIDDLE           425   // board title bar piece
#define IDB_BOARD_TITLE_RIGHT            426   // board title bar piece
#define IDB_BTN_BOARD_POST               433   // board: post (4 states)
#define IDB_BTN_WEB_BACK                 443   // web back (4 states)
#define IDB_BTN_WEB_FORWARD              444   // web forward (4 states)
#define IDB_BTN_BROWSER_BACK             445   // web song browser back (4 states)
#define IDB_BTN_BROWSER_FORWARD          446   // web song browser forward (4 states)
#define IDB_BTN_FLOAT_PLAY               449   // floating toolbar: play the row
#define IDB_BTN_FLOAT_SEARCH             450   // floating toolbar: search the song
#define IDB_BTN_FLOAT_PUSH               451   // floating toolbar: push the song
#define IDB_BTN_FLOAT_BOARD              452   // floating toolbar: open the board
#define IDB_BTN_FLOAT_COLLECT            453   // floating toolbar: collect the song
#define IDB_FLOAT_TOOLBAR_BACK           454   // floating toolbar background
#define IDB_BTN_BROWSER_PUSH             456   // web song browser push page (4 states)
#define IDB_BUSY_FRAME_01                8201  // busy animation frame 1 of 48
#define IDB_BUSY_FRAME_02                8202  // busy animation frame 2 of 48
#define IDB_BUSY_FRAME_03                8203  // busy animation frame 3 of 48
#define IDB_BUSY_FRAME_04                8204  // busy animation frame 4 of 48
#define IDB_BUSY_FRAME_05                8205  // busy animation frame 5 of 48
#define IDB_BUSY_FRAME_06                8206  // busy animation frame 6 of 48
#define IDB_BUSY_FRAME_07                8207  // busy animation frame 7 of 48
#define IDB_BUSY_FRAME_08                8208  // busy animation frame 8 of 48
#define IDB_BUSY_FRAME_09                8209  // busy animation frame 9 of 48
#define IDB_BUSY_FRAME_10                8210  // busy animation frame 10 of 48
#define IDB_BUSY_FRAME_11                8211  // busy animation frame 11 of 48
#define IDB_BUSY_FRAME_12                8212  // busy animation frame 12 of 48
#define IDB_BUSY_FRAME_13                8213  // busy animation frame 13 of 48
#define IDB_BUSY_FRAME_14                8214  // busy animation frame 14 of 48
#define IDB_BUSY_FRAME_15                8215  // busy animation frame 15 of 48
#define IDB_BUSY_FRAME_16                8216  // busy animation frame 16 of 48
#define IDB_BUSY_FRAME_17                8217  // busy animation frame 17 of 48
#define IDB_BUSY_FRAME_18                8218  // busy animation frame 18 of 48
#define IDB_BUSY_FRAME_19                8219  // busy animation frame 19 of 48
#define IDB_BUSY_FRAME_20                8220  // busy animation frame 20 of 48
#define IDB_BUSY_FRAME_21                8221  // busy animation frame 21 of 48
#define IDB_BUSY_FRAME_22                8222  // busy animation frame 22 of 48
#define IDB_BUSY_FRAME_23                8223  // busy animation frame 23 of 48
#define IDB_BUSY_FRAME_24                8224  // busy animation frame 24 of 48
#define IDB_BUSY_FRAME_25                8225  // busy animation frame 25 of 48
#define IDB_BUSY_FRAME_26                8226  // busy animation frame 26 of 48
#define IDB_BUSY_FRAME_27                8227  // busy animation frame 27 of 48
#define IDB_BUSY_FRAME_28                8228  // busy animation frame 28 of 48
#define IDB_BUSY_FRAME_29                8229  // busy animation frame 29 of 48
#define IDB_BUSY_FRAME_30                8230  // busy animation frame 30 of 48
#define IDB_BUSY_FRAME_31                8231  // busy animation frame 31 of 48
#define IDB_BUSY_FRAME_32                8232  // busy animation frame 32 of 48
#define IDB_BUSY_FRAME_33                8233  // busy animation frame 33 of 48
#define IDB_BUSY_FRAME_34                8234  // busy animation frame 34 of 48
#define IDB_BUSY_FRAME_35                8235  // busy animation frame 35 of 48
#define IDB_BUSY_FRAME_36                8236  // busy animation frame 36 of 48
#define IDB_BUSY_FRAME_37                8237  // busy animation frame 37 of 48
#define IDB_BUSY_FRAME_38                8238  // busy animation frame 38 of 48
#define IDB_BUSY_FRAME_39                8239  // busy animation frame 39 of 48
#define IDB_BUSY_FRAME_40                8240  // busy animation frame 40 of 48
#define IDB_BUSY_FRAME_41                8241  // busy animation frame 41 of 48
#define IDB_BUSY_FRAME_42                8242  // busy animation frame 42 of 48
#define IDB_BUSY_FRAME_43                8243  // busy animation frame 43 of 48
#define IDB_BUSY_FRAME_44                8244  // busy animation frame 44 of 48
#define IDB_BUSY_FRAME_45                8245  // busy animation frame 45 of 48
#define IDB_BUSY_FRAME_46                8246  // busy animation frame 46 of 48
#define IDB_BUSY_FRAME_47                8247  // busy animation frame 47 of 48
#define IDB_BUSY_FRAME_48                8248  // busy animation frame 48 of 48
// Cursors
#define IDC_DROP_CURSOR                  101   // drop-allowed cursor
#define IDC_HAND_CURSOR                  103   // hand cursor
// Icons
#define IDI_APP                          128   // program icon
#define IDI_BUDDY_STATE                  301   // buddy list state mark
#define IDI_PRESENCE_AWAY                302   // presence away
#define IDI_PRESENCE_BUSY                303   // presence busy
#define IDI_LISTENING                    304   // listening line
#define IDI_OWN_ROW                      305   // own row of the buddy list (30 x 30)
#define IDI_PRESENCE_INVISIBLE           306   // presence invisible
#define IDI_PRESENCE_ONLINE              307   // presence online
#define IDI_GROUP_HEADER                 308   // buddy group header
#define IDI_PLAYING_MARK                 310   // playing mark and marked row (25 x 18)
#define IDI_TRAY_BUSY                    314   // tray icon, busy
#define IDI_TRAY_AWAY                    315   // tray icon, away
#define IDI_TRAY_INVISIBLE               316   // tray icon, invisible
#define IDI_SONG_UNAVAILABLE             317   // song not available yet (25 x 18)
#define IDI_PUSH_SONG                    318   // push icon of a song row (25 x 18)
#define IDI_PUSH_SONG_HOVER              319   // push icon of a song row (25 x 18)
#define IDI_PUSH_SONG_PRESSED            320   // push icon of a song row (25 x 18)
#define IDI_DOWNLOAD_SONG                321   // download icon of a song row
#define IDI_DOWNLOAD_SONG_HOVER          322   // download icon of a song row
#define IDI_DOWNLOAD_SONG_PRESSED        323   // download icon of a song row
#define IDI_APP_SMALL                    326   // small program icon, tray icon
#define IDI_CHAT                         350   // chat window, small
#define IDI_CHAT_BIG                     389   // chat window, big
#define IDI_TASK_WAITING                 413   // download and upload lists
#define IDI_TASK_REMOVE_PRESSED          414   // download and upload lists
#define IDI_TASK_REMOVE_HOVER            415   // download and upload lists
#define IDI_TASK_REMOVE                  416   // download and upload lists
#define IDI_TASK_FAILED                  417   // download and upload lists
#define IDI_TASK_PLAY_PRESSED            418   // download and upload lists
#define IDI_TASK_PLAY_HOVER              419   // download and upload lists
#define IDI_TASK_PLAY                    420   // download and upload lists
#define IDI_TASK_DONE                    421   // download and upload lists
#define IDI_TASK_RUNNING                 422   // download and upload lists
#define IDI_BOARD_HOVER                  435   // board icon of a song row
#define IDI_BOARD                        436   // board icon of a song row
#define IDI_BOARD_PRESSED                437   // board icon of a song row
#define IDI_BOARD_NEW_HOVER              438   // board icon of a song row
#define IDI_BOARD_NEW                    439   // board icon of a song row
#define IDI_BOARD_NEW_PRESSED            440   // board icon of a song row
// PNG pictures (RCDATA)
#define IDR_LOGIN_FRAME_01               8101  // login animation frame (PNG, 226 x 152, straight alpha)
#define IDR_LOGIN_FRAME_02               8102  // login animation frame (PNG, 226 x 152, straight alpha)
#define IDR_LOGIN_FRAME_03               8103  // login animation frame (PNG, 226 x 152, straight alpha)
#define IDR_LOGIN_FRAME_04               8104  // login animation frame (PNG, 226 x 152, straight alpha)
#define IDR_LOGIN_FRAME_05               8105  // login animation frame (PNG, 226 x 152, straight alpha)
#define IDR_LOGIN_FRAME_06               8106  // login animation frame (PNG, 226 x 152, straight alpha)
#define IDR_LOGIN_FRAME_07               8107  // login animation frame (PNG, 226 x 152, straight alpha)
#define IDR_LOGIN_FRAME_08               8108  // login animation frame (PNG, 226 x 152, straight alpha)
#define IDR_LOGIN_FRAME_09               8109  // login animation frame (PNG, 226 x 152, straight alpha)
#define IDR_LOGIN_FRAME_10               8110  // login animation frame (PNG, 226 x 152, straight alpha)
#define IDR_LOGIN_FRAME_11               8111  // login animation frame (PNG, 226 x 152, straight alpha)
#define IDR_LOGIN_FRAME_12               8112  // login animation frame (PNG, 226 x 152, straight alpha)
#define IDR_LOADING_FRAME_01             8306  // library loading animation frame (PNG, 40 x 18, straight alpha)
#define IDR_LOADING_FRAME_02             8307  // library loading animation frame (PNG, 40 x 18, straight alpha)
#define IDR_LOADING_FRAME_03             8308  // library loading animation frame (PNG, 40 x 18, straight alpha)
#define IDR_LOADING_FRAME_04             8309  // library loading animation frame (PNG, 40 x 18, straight alpha)
#define IDR_LOADING_FRAME_05             8310  // library loading animation frame (PNG, 40 x 18, straight alpha)
#define IDR_LOADING_FRAME_06             8311  // library loading animation frame (PNG, 40 x 18, straight alpha)
#define IDR_LOADING_FRAME_07             8312  // library loading animation frame (PNG, 40 x 18, straight alpha)
#define IDR_LOADING_FRAME_08             8313  // library loading animation frame (PNG, 40 x 18, straight alpha)
#define IDR_LOADING_FRAME_09             8314  // library loading animation frame (PNG, 40 x 18, straight alpha)
#define IDR_LOADING_FRAME_10             8315  // library loading animation frame (PNG, 40 x 18, straight alpha)
#define IDR_LOADING_FRAME_11             8316  // library loading animation frame (PNG, 40 x 18, straight alpha)
#define IDR_LOADING_FRAME_12             8317  // library loading animation frame (PNG, 40 x 18, straight alpha)
// Sounds (WAVE)
#define IDW_BUDDY_ONLINE_1               355   // buddy online chime 1
#define IDW_BUDDY_ONLINE_2               356   // buddy online chime 2
#define IDW_BUDDY_ONLINE_3               357   // buddy online chime 3
#define IDW_BUDDY_ONLINE_4               358   // buddy online chime 4
#define IDW_BUDDY_ONLINE_5               359   // buddy online chime 5
#define IDW_BUDDY_ONLINE_6               360   // buddy online chime 6
#define IDW_BUDDY_ONLINE_7               361   // buddy online chime 7
#define IDW_BUDDY_ONLINE_8               362   // buddy online chime 8
#define IDW_SONG_COLLECTED               363   // a buddy collected my song
#define IDW_SONG_PUSHED                  364   // a buddy pushed a song
#define IDW_BUDDY_LISTENING              365   // a buddy listens to my song
// END ARTWORK IDS
