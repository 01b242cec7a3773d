#!/usr/bin/env python3
"""Writes damaged copies of the stored skin for tests.

    damage_skin.py SKIN OUTPUT_DIR

broken.rskn: cut in half. older.rskn: intact, but of format version 0.
"""
import sys
from pathlib import Path

skin = Path(sys.argv[1]).read_bytes()
out = Path(sys.argv[2])
out.mkdir(parents=True, exist_ok=True)
(out / "broken.rskn").write_bytes(skin[: len(skin) // 2])
(out / "older.rskn").write_bytes(skin[:4] + b"\0\0" + skin[6:])
