#pragma once
// The setup tool's main dialog (dialog 102): the Windows line, the language
// list and Port configuration, and (shown by Ruddset's template only) the
// printer choice, Install, Uninstall and Test with the progress bar and the
// status texts. Every operation runs inside its button's handler.

#include "setup/win32/windows_api.h"

#include <string>
#include <vector>

#include "setup/command_line.h"
#include "common/language/language_ini.h"
#include "setup/setup_platform.h"
#include "setup/setup_variant.h"
#include "setup/win32/build_variant.h"
#include "setup/win32/setup_session.h"

namespace tolvane {

class SetupMainDialog final : public ProgressSink {
public:
    // `portDialogs` opens the port dialogs of a variant that has them
    // (Ruddock); Ruddset's port configuration is the monitor's own dialog.
    SetupMainDialog(HINSTANCE instance, const SetupVariant& variant, SetupLog& log,
                    PortDialogsOpener portDialogs = nullptr);
    SetupMainDialog(const SetupMainDialog&) = delete;
    SetupMainDialog& operator=(const SetupMainDialog&) = delete;

    // Shows the dialog modally until it is closed.
    void Run();

    // The progress bar and the completion label "<completion text>:<position>%".
    void SetProgress(int position) override;

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);

    void OnInitDialog();
    void OnCommand(int id, int code);
    void OnInstall();
    void OnUninstall();
    void OnTest();
    void OnConfig();
    void OnLanguageChanged();
    void OnPrinterKind(bool raster);
    void OnDestroy();
    bool OnPaintMinimized();

    void FillLanguageList();
    void ApplyLanguage(const std::u16string& section);
    // Reads Language.ini afresh into the reader (a missing file: no texts).
    void LoadLanguageFile();
    std::u16string Text(std::u16string_view key) const { return language_.Read(key); }
    // The section of the selected list item; false when the list is empty.
    bool SelectedSection(std::u16string& section) const;
    PrinterKind SelectedKind() const;
    void SetItemText(int id, const std::u16string& text);
    std::u16string ItemText(int id) const;
    void SetBarPosition(int position);
    // Port configuration after a successful install of "Tolvane".
    void ConfigureAfterInstall();

    HINSTANCE instance_;
    SetupSession session_;
    HWND window_ = nullptr;
    HICON icon_ = nullptr;
    HICON smallIcon_ = nullptr;

    // The texts of the current language.
    std::u16string adminWarning_, completeLabel_, notice_;
    std::u16string installStart_, installSuccess_, installFailure_;
    std::u16string uninstallStart_, uninstallSuccess_, uninstallFailure_;
    std::u16string idleStatus_;  // the "IDC_STATIC_OP" text last applied

    LanguageIni language_;
    PortDialogsOpener portDialogs_ = nullptr;
    std::vector<std::u16string> sections_;  // the section of each list item, by item index
    bool firstLoad_ = true;
};

}  // namespace tolvane
