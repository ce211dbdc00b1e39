#pragma once

#include <cups/cups.h>
#include <cups/ppd.h>

// libcups and the libraries it pulls in (TLS, Kerberos, service discovery) are loaded only when
// the first printout asks for the print service: every start would otherwise pay for loading and
// relocating them, for a service most runs never use.
struct TCups {
    decltype(&httpConnect2) Connect = nullptr;
    decltype(&httpClose) Close = nullptr;
    decltype(&httpSetTimeout) SetTimeout = nullptr;
    decltype(&cupsServer) Server = nullptr;
    decltype(&ippPort) Port = nullptr;
    decltype(&cupsEncryption) Encryption = nullptr;
    decltype(&cupsLastError) LastError = nullptr;
    decltype(&cupsLastErrorString) LastErrorString = nullptr;

    decltype(&cupsGetNamedDest) GetNamedDest = nullptr;
    decltype(&cupsFreeDests) FreeDests = nullptr;
    decltype(&cupsGetOption) GetOption = nullptr;
    decltype(&cupsCopyDestInfo) CopyDestInfo = nullptr;
    decltype(&cupsFreeDestInfo) FreeDestInfo = nullptr;
    decltype(&cupsFindDestDefault) FindDestDefault = nullptr;
    decltype(&cupsGetDestMediaByName) GetDestMediaByName = nullptr;
    decltype(&ippGetValueTag) GetValueTag = nullptr;
    decltype(&ippGetCount) GetCount = nullptr;
    decltype(&ippGetResolution) GetResolution = nullptr;
    decltype(&ippGetInteger) GetInteger = nullptr;
    decltype(&ippGetCollection) GetCollection = nullptr;
    decltype(&ippFindAttribute) FindAttribute = nullptr;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    decltype(&cupsGetPPD2) GetPPD = nullptr;
#pragma GCC diagnostic pop

    decltype(&cupsCreateDestJob) CreateDestJob = nullptr;
    decltype(&cupsStartDestDocument) StartDestDocument = nullptr;
    decltype(&cupsWriteRequestData) WriteRequestData = nullptr;
    decltype(&cupsFinishDestDocument) FinishDestDocument = nullptr;
    decltype(&cupsCancelDestJob) CancelDestJob = nullptr;
};

// Null when the library or one of its functions is missing; the print service is then as good
// as absent. Safe to call from any thread.
const TCups* Cups();
