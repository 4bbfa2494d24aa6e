// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Every command and option of quellix-cli, in the order --help lists them.
// --help is printed from this table; a test holds the man page and the bash
// completion to it, so a new option goes here first.
#include <string_view>

struct CliCommand {
    std::string_view name;    // the first word, or an option such as --version
    std::string_view args;    // what follows the name; its --words are the options
    std::string_view summary; // one line of --help
};

inline constexpr CliCommand kCliCommands[] = {
    {"--version", "", "print the version"},
    {"--help", "", "print this help"},
    {"info", "FILE.dat", "show what a saved recording holds"},
    {"export", "IN.dat OUT [--remove-stale-parts]", "write IN as OUT.dat, .txt, .xls, .csv or .edf"},
    {"analyze", "FILE.dat [--json]", "event, statistical and clinical figures (stored settings)"},
    {"events", "FILE.dat OUT.txt", "write the event-time file"},
    {"settings", "get NAME", "print a setting (its default when missing)"},
    {"settings", "set NAME VALUE", "store a setting"},
    {"ports", "", "list serial ports"},
    {"download",
     "[--port NAME | --bluetooth ADDR] --out DIR [--log FILE] [--raw FILE] [--remove-stale-parts] "
     "[--archive FILE | --no-archive] [--archive-server STRING]",
     "download every ID into DIR, one idN.dat each (idN.partial.dat when incomplete), and keep its nights in "
     "the archive; --raw keeps a dump of the exchange; exit 0 complete, 1 failed, 2 usage, 3 partial, 130/143 "
     "interrupted"},
    {"set-clock", "[--port NAME | --bluetooth ADDR] [--time \"YYYY-MM-DD hh:mm:ss\"] [--log FILE]",
     "set the device clock (to this computer's time unless given)"},
    {"delete", "[--port NAME | --bluetooth ADDR] (--id N | --all) [--type all|spo2pr] [--yes] [--log FILE]",
     "erase one ID, or every ID (--id 0 or --all; asks unless --yes)"},
    {"report", "IN.dat --mode trend|table|analysis OUT.pdf [--size WxH]", "print the pages into a PDF file"},
    {"archive", "[--archive FILE] [--archive-server STRING] list|import|export|remove|backup|restore|check ...",
     "the nights kept in the archive (see quellix-cli(1))"},
    {"archive",
     "[--archive FILE] import FILE... [--id N] [--name TEXT] [--columns MAP] [--time-format PATTERN] "
     "[--accept-refused]",
     "archive .dat files, and CSV (.csv, .txt) and EDF (.edf) files of other oximeters"},
    {"overview",
     "[--archive FILE] [--archive-server STRING] [--patient TEXT] [--from YYYY-MM-DD] [--to YYYY-MM-DD] [--json | "
     "--csv | OUT.pdf]",
     "one patient's archived nights side by side, with their means over the last 7, 30, 90 and 365 days"},
    {"archive", "[--archive-server STRING] sync",
     "send the nights and changes not yet on the clinic server; exit 1 when it cannot be reached"},
    {"--archive-server", "STRING archive|download|overview ...",
     "use the clinic server of this libpq connection string (or service=NAME) instead of the one set; '' for "
     "this computer's archive only"},
};
