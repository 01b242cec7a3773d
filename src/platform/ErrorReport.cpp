#include "ErrorReport.h"

#include <cinttypes>
#include <cstdio>

#include "Backend.h"
#include "Classes.h"

std::string WithFullStop(std::string Message)
{
    if (!Message.empty() && static_cast<unsigned char>(Message.back()) > static_cast<unsigned char>('.'))
        Message += '.';
    return Message;
}

std::string FatalErrorText(const std::string& ClassName, const std::string& Module, const void* Address,
                           const std::string& Message)
{
    char address[2 * sizeof(void*) + 1];
    std::snprintf(address, sizeof address, "%0*" PRIXPTR, static_cast<int>(2 * sizeof(void*)),
                  reinterpret_cast<std::uintptr_t>(Address));
    return "Exception " + ClassName + " in module " + Module + " at " + address + ".\n" + WithFullStop(Message);
}

int ReportFatalError(const std::exception& E) noexcept
{
    try {
        auto* ours = dynamic_cast<const Exception*>(&E);
        backend::ShowFatalBox("Application Error", FatalErrorText(ClassNameOf(typeid(E)), backend::ModuleName(),
                                                                  ours ? ours->ExceptAddr() : nullptr, E.what()));
    } catch (...) {
        std::fputs(E.what(), stderr);
        std::fputc('\n', stderr);
    }
    return 1;
}
