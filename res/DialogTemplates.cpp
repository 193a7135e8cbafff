#include "res/DialogTemplates.h"

const DialogTemplate* FindDialogTemplate(int id) {
    for (const DialogTemplate* found : {&g_payloadPageTemplate, &g_fuelPageTemplate})
        if (found->id == id)
            return found;
    return nullptr;
}
