#pragma once

#include <QByteArray>

#include "CupsLibrary.h"

// The page is laid out in the printer's own device pixels, so the resolution must be the one the
// print service reports for the queue, not a fixed "high resolution" that shrinks the table into
// a corner of the page.

// Used when the print service reports no resolution for the queue.
inline constexpr int kFallbackResolution = 300;

// The queue's default resolution in dots per inch as the service on `http` reports it: its IPP
// attribute printer-resolution-default, else the DefaultResolution of its PPD; 0 when neither is
// known.
int ReportedResolution(const TCups& cups, http_t* http, cups_dest_t* dest, cups_dinfo_t* info);

// The vertical resolution named by a PPD's "*DefaultResolution:" line ("300dpi", "600x1200dpi",
// "118dpcm"); 0 when the text has none or it cannot be read.
int PpdDefaultResolution(const QByteArray& ppdText);
