#include "core/printing/PrintConfirm.h"

#include "core/settings/Registry.h"

namespace trawlit {

namespace {

void LoadStoredChoices(SettingsStore& store, PrintSettings& settings)
{
    settings.LandscapeFlag = RegistryGetBool(store, kLandscapeFlagKey, false);
    settings.PrintFontName = RegistryGetString(store, kPrintFontNameKey, kDefaultPrintFontName);
    settings.PrintFontSize = ParseFontSize(
        RegistryGetString(store, kPrintFontSizeKey, FontSizeText(kDefaultPrintFontSize)));
}

void StoreChoices(SettingsStore& store, const PrintSettings& settings)
{
    RegistrySaveBool(store, kLandscapeFlagKey, settings.LandscapeFlag);
    RegistrySaveString(store, kPrintFontNameKey, settings.PrintFontName);
    RegistrySaveString(store, kPrintFontSizeKey, FontSizeText(settings.PrintFontSize));
}

} // namespace

bool PrintConfirm(const std::string& title, const std::string& path, PrintSettings& settings,
    SettingsStore& store, PrintConfirmWindow& window)
{
    // Choices of an earlier, cancelled confirmation are forgotten here.
    LoadStoredChoices(store, settings);
    settings.ConfirmTitle = title;
    settings.ConfirmPathname = path;
    // A window that never came up must not pass for an OK of the last one.
    settings.ConfirmResult = ConfirmResultCode::Closed;
    window.ShowModal(settings);
    const bool confirmed = settings.ConfirmResult == ConfirmResultCode::Ok;
    if (confirmed)
        StoreChoices(store, settings);
    return confirmed;
}

} // namespace trawlit
