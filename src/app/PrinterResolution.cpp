#include "PrinterResolution.h"

#include <QFile>
#include <QRegularExpression>

#include <cmath>
#include <cups/cups.h>
#include <cups/ppd.h>
#include <dlfcn.h>

namespace {

// libcups and the libraries it pulls in (TLS, Kerberos, service discovery) are loaded only when
// the first printout asks for a resolution: every start would otherwise pay for loading and
// relocating them, for a service most runs never use.
struct TCups {
    decltype(&cupsGetNamedDest) GetNamedDest = nullptr;
    decltype(&cupsFreeDests) FreeDests = nullptr;
    decltype(&cupsCopyDestInfo) CopyDestInfo = nullptr;
    decltype(&cupsFreeDestInfo) FreeDestInfo = nullptr;
    decltype(&cupsFindDestDefault) FindDestDefault = nullptr;
    decltype(&ippGetValueTag) GetValueTag = nullptr;
    decltype(&ippGetCount) GetCount = nullptr;
    decltype(&ippGetResolution) GetResolution = nullptr;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    decltype(&cupsGetPPD) GetPPD = nullptr;
#pragma GCC diagnostic pop
};

template <class F> bool Resolve(void* library, const char* name, F& function)
{
    function = reinterpret_cast<F>(dlsym(library, name));
    return function != nullptr;
}

// Null when the library or one of its functions is missing; the print service is then as good
// as absent and reports no resolution.
const TCups* Cups()
{
    static const TCups* const loaded = []() -> const TCups* {
        void* library = dlopen("libcups.so.2", RTLD_NOW | RTLD_LOCAL);
        if (!library)
            return nullptr;
        static TCups cups;
        const bool complete =
            Resolve(library, "cupsGetNamedDest", cups.GetNamedDest) &&
            Resolve(library, "cupsFreeDests", cups.FreeDests) &&
            Resolve(library, "cupsCopyDestInfo", cups.CopyDestInfo) &&
            Resolve(library, "cupsFreeDestInfo", cups.FreeDestInfo) &&
            Resolve(library, "cupsFindDestDefault", cups.FindDestDefault) &&
            Resolve(library, "ippGetValueTag", cups.GetValueTag) && Resolve(library, "ippGetCount", cups.GetCount) &&
            Resolve(library, "ippGetResolution", cups.GetResolution) && Resolve(library, "cupsGetPPD", cups.GetPPD);
        return complete ? &cups : nullptr;
    }();
    return loaded;
}

// Fonts are sized in points at the vertical resolution, so that is the one that counts.
int DotsPerInch(int vertical, bool perCentimetre)
{
    if (vertical <= 0)
        return 0;
    return perCentimetre ? static_cast<int>(std::lround(vertical * 2.54)) : vertical;
}

int IppResolution(const TCups& cups, cups_dest_t* dest)
{
    cups_dinfo_t* info = cups.CopyDestInfo(CUPS_HTTP_DEFAULT, dest);
    if (!info)
        return 0;
    int dpi = 0;
    ipp_attribute_t* attr = cups.FindDestDefault(CUPS_HTTP_DEFAULT, dest, info, "printer-resolution");
    if (attr && cups.GetValueTag(attr) == IPP_TAG_RESOLUTION && cups.GetCount(attr) > 0) {
        int vertical = 0;
        ipp_res_t units = IPP_RES_PER_INCH;
        cups.GetResolution(attr, 0, &vertical, &units);
        dpi = DotsPerInch(vertical, units == IPP_RES_PER_CM);
    }
    cups.FreeDestInfo(info);
    return dpi;
}

// The PPD calls are the only way to a driver's own default on older queues; libcups marks them
// deprecated in favour of the IPP attributes tried first.
int PpdResolution(const TCups& cups, const QByteArray& name)
{
    const char* fetched = cups.GetPPD(name.constData());
    if (!fetched)
        return 0;
    const QString path = QFile::decodeName(fetched);
    QFile file(path);
    int dpi = 0;
    if (file.open(QIODevice::ReadOnly))
        dpi = PpdDefaultResolution(file.readAll());
    file.close();
    // cupsGetPPD hands over a temporary copy of the PPD, which is ours to remove.
    QFile::remove(path);
    return dpi;
}

} // namespace

int PpdDefaultResolution(const QByteArray& ppdText)
{
    static const QRegularExpression line(
        QStringLiteral("^\\*DefaultResolution:\\s*(\\d+)(?:x(\\d+))?\\s*(dpi|dpcm)\\s*$"),
        QRegularExpression::MultilineOption | QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = line.match(QString::fromLatin1(ppdText).remove(QLatin1Char('\r')));
    if (!m.hasMatch())
        return 0;
    const int vertical = (m.capturedLength(2) > 0 ? m.captured(2) : m.captured(1)).toInt();
    return DotsPerInch(vertical, m.captured(3).compare(QLatin1String("dpcm"), Qt::CaseInsensitive) == 0);
}

int ReportedResolution(const QString& printerName)
{
    const TCups* cups = Cups();
    if (!cups)
        return 0;
    const QByteArray name = printerName.toUtf8();
    cups_dest_t* dest = cups->GetNamedDest(CUPS_HTTP_DEFAULT, name.isEmpty() ? nullptr : name.constData(), nullptr);
    if (!dest)
        return 0;
    int dpi = IppResolution(*cups, dest);
    if (dpi <= 0)
        dpi = PpdResolution(*cups, QByteArray(dest->name));
    cups->FreeDests(1, dest);
    return dpi;
}

int PrinterResolution(const QString& printerName)
{
    const int dpi = ReportedResolution(printerName);
    return dpi > 0 ? dpi : kFallbackResolution;
}
