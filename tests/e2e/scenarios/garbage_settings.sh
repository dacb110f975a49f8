# A settings file full of garbage (random bytes, absurd numbers, a 1 MB line, broken items) still lets the
# program start, stay resident and end cleanly from its tray menu.

ini="$(settings_dir)/vantrel.ini"
mkdir -p "$(dirname "$ini")"
python3 - "$ini" <<'PY'
import random, sys
rnd = random.Random(20240607)  # the same garbage every run
noise = lambda n: bytes(rnd.randrange(256) for _ in range(n))
parts = [
    b"[Option]\r\nColMax=99999999999\r\nRowMax=-2147483649\r\nIniNo=-7\r\nIniMax=99\r\nVkKey=0x\r\nVkMod=$\r\n",
    b"MouseFlag=-1\r\nBackColor=0xFFFFFFFFFFFF\r\nWaitDesktop=999999\r\nIniOrder1=42\r\nIniPopup1=2\r\n",
    b"IniName1=" + b"N" * 5000 + b"\r\n",
    b"[Program]\r\nTitle0=" + b"A" * (1 << 20) + b"\r\nExeFileName0=C:\\nowhere\\x.exe\r\n",
    b"IconIndex0=99999999999\r\nStatus0=-1\r\nTitle1=\x01\x02\x7f\r\nIconFileName1=\\\\?\\\r\nIconIndex1=-2147483648\r\n",
    noise(65536),
    b"\r\n[System]\r\nTitle0=Broken drive\r\nExeFileName0=\r\nIconFileName0=C:\\\r\nIconIndex0=-1\r\nStatus0=1\r\n",
    b"Title1=Huge index\r\nIconIndex1=2147483647\r\nIconFileName1=%sysdir%\\shell32.dll\r\nStatus1=0xFFFFFFFF\r\n",
    b"Title2=" + b"%" * 70000 + b"\r\nExeFileName2=%%%%%\r\nTitle200=beyond the limit\r\n",
    noise(65536),
]
open(sys.argv[1], "wb").write(b"".join(parts))
PY

start_vantrel
pid=$E2E_LAST_PID
sleep 3
kill -0 "$pid" 2>/dev/null || fail "vantrel ended within 3 s of starting on a garbage settings file"
expect_eq "$(count_windows TVantrelMain)" 1 "TVantrelMain windows 3 s after the start"
screenshot after-3s
exit_via_tray_menu "$pid"
wait "$pid"
expect_eq "$?" 0 "exit status after E&xit"
