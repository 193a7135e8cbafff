#include "ui/Resources.h"
#include "res/DialogTemplates.h"
#include "res/resource.h"

const DialogTemplate* FindDialogTemplate(int id) {
    for (const DialogTemplate* found : {&g_payloadPageTemplate, &g_fuelPageTemplate})
        if (found->id == id)
            return found;
    return nullptr;
}

const int kProgramIcon = IDR_MAINFRAME;

std::span<const std::string_view> IconFiles(int id) {
    static constexpr std::string_view kMainFrame[] = {"icon32.png", "icon48.png", "icon256.png"};
    return id == IDR_MAINFRAME ? kMainFrame : std::span<const std::string_view>();
}

int LargeBitmap(int id) {
    return id == IDB_AIRCRAFT ? IDB_AIRCRAFT_LARGE : 0;
}
