// A style opened from a folder (an INI text and picture files beside it) or
// from a resource library ("TEXTFILE" resources holding UTF-16 INI texts,
// and the pictures as bitmap or "PNG" resources named after their files).
// It hands the INI text to the schema one line at a time and opens pictures
// by file name.
#pragma once
#include <Framework.h>

class CSFSkinFramework;
class CSFSkinSchema;
class CSFStyleImage;

class CSFSkinResourceFile
{
public:
    explicit CSFSkinResourceFile(CSFSkinFramework* manager = NULL);
    virtual ~CSFSkinResourceFile();
    CSFSkinResourceFile(const CSFSkinResourceFile&) = delete;
    CSFSkinResourceFile& operator=(const CSFSkinResourceFile&) = delete;

    // A folder holding the INI file is used as a folder style; otherwise the
    // path is loaded as a library (as a program module, else as a data file)
    // whose "TEXTFILE" resource named after the INI holds the text. An empty
    // INI name takes the library's default ("[File.Name]" in THEMES_INI).
    virtual BOOL Open(LPCWSTR path, LPCWSTR iniName);
    // The next line of the INI text; FALSE at its end. In a library the text
    // is cut at carriage returns, so a last line without one is not returned.
    virtual BOOL ReadString(CString& line);
    virtual void Close();
    // A new picture of the style, NULL when it cannot be had.
    virtual CSFStyleImage* LoadImage(const CString& name);
    virtual CSFSkinSchema* CreateSchema();

    void SetManager(CSFSkinFramework* manager) { m_manager = manager; }
    CString GetStylePath() const { return m_stylePath; }
    CString GetIniName() const { return m_iniName; }
    HMODULE GetModule() const { return m_module; }
    BOOL IsFolderStyle() const { return m_iniFile != NULL; }

    // "Blue\Button.bmp" -> "Blue_Button_bmp".
    static CString ToResourceName(const CString& name);
    // "Name_ini" of the first "[File.Name]" in the library's THEMES_INI, or "".
    static CString ReadDefaultIniName(HMODULE module);

private:
    const wchar_t* m_readPos;
    const wchar_t* m_textEnd;
    HMODULE m_module;
    CString m_stylePath;
    CString m_iniName;
    CSFSkinFramework* m_manager;
    CStdioFile* m_iniFile;
};
