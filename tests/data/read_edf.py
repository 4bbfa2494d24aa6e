# SPDX-License-Identifier: GPL-3.0-or-later
"""Reads an EDF(+) file with MNE, an independent reader, and prints what it
found as JSON for the export tests: channels, rate, start, values, annotations
and the patient subfields."""
import json
import sys

import mne

raw = mne.io.read_raw_edf(sys.argv[1], preload=True, verbose="error")
data = raw.get_data()
# Older MNE keeps the EDF+ patient subfields only in the reader's extras.
subject = raw.info.get("subject_info") or raw._raw_extras[0].get("subject_info") or {}
print(json.dumps({
    "channels": raw.ch_names,
    "sfreq": raw.info["sfreq"],
    "n_times": int(raw.n_times),
    "meas_date": raw.info["meas_date"].strftime("%Y-%m-%dT%H:%M:%S") if raw.info["meas_date"] else None,
    "data": [[round(float(v), 6) for v in row] for row in data],
    "annotations": [{"onset": float(a["onset"]), "description": a["description"]} for a in raw.annotations],
    "subject": {k: str(v) for k, v in subject.items()},
}))
