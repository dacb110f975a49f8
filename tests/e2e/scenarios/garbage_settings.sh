# A settings file full of garbage (random bytes, absurd numbers, a 1 MB line, broken items) still lets the
# program start, stay resident and end cleanly from its tray menu; in each of the three encodings the
# program reads: ANSI, UTF-16LE with BOM (here with unpaired surrogates and an odd byte count) and UTF-8
# with BOM (here with invalid sequences).

ini="$(settings_dir)/vantrel.ini"

for encoding in ansi utf16 utf8; do
    rm -rf "$(settings_dir)"
    mkdir -p "$(dirname "$ini")"
    python3 - "$ini" "$encoding" <<'PY'
import random, sys
rnd = random.Random(20240607)  # the same garbage every run
noise = lambda n: bytes(rnd.randrange(256) for _ in range(n))
text = "".join([
    "[Option]\r\nColMax=99999999999\r\nRowMax=-2147483649\r\nIniNo=-7\r\nIniMax=99\r\nVkKey=0x\r\nVkMod=$\r\n",
    "MouseFlag=-1\r\nBackColor=0xFFFFFFFFFFFF\r\nWaitDesktop=999999\r\nIniOrder1=42\r\nIniPopup1=2\r\n",
    "IniName1=" + "N" * 5000 + "\r\n",
    "[Program]\r\nTitle0=" + "A" * (1 << 20) + "\r\nExeFileName0=C:\\nowhere\\x.exe\r\n",
    "IconIndex0=99999999999\r\nStatus0=-1\r\nTitle1=\x01\x02\x7f\r\nIconFileName1=\\\\?\\\r\nIconIndex1=-2147483648\r\n",
    "[System]\r\nTitle0=Broken drive\r\nExeFileName0=\r\nIconFileName0=C:\\\r\nIconIndex0=-1\r\nStatus0=1\r\n",
    "Title1=Huge index\r\nIconIndex1=2147483647\r\nIconFileName1=%sysdir%\\shell32.dll\r\nStatus1=0xFFFFFFFF\r\n",
    "Title2=" + "%" * 70000 + "\r\nExeFileName2=%%%%%\r\nTitle200=beyond the limit\r\n",
])
encoding = sys.argv[2]
if encoding == "ansi":
    data = text.encode("latin-1") + noise(65536) + b"\r\n[System]\r\nTitle3=after the noise\r\n" + noise(65536)
elif encoding == "utf16":
    # Lone surrogates and a last odd byte cannot be decoded cleanly.
    data = b"\xff\xfe" + text.encode("utf-16-le") + b"\x00\xd8A\x00\x00\xdc" + noise(65536) + b"\x41"
else:
    data = b"\xef\xbb\xbf" + text.encode("utf-8") + b"Title4=\xc3\x28\xe2\x82\xf0\x9f\x98\r\n" + noise(65536)
open(sys.argv[1], "wb").write(data)
PY
    start_vantrel
    pid=$E2E_LAST_PID
    sleep 3
    kill -0 "$pid" 2>/dev/null || fail "vantrel ended within 3 s of starting on a garbage settings file ($encoding)"
    expect_eq "$(count_windows TVantrelMain)" 1 "TVantrelMain windows 3 s after the start ($encoding)"
    screenshot "after-3s-$encoding"
    exit_via_tray_menu "$pid"
    wait "$pid"
    expect_eq "$?" 0 "exit status after E&xit ($encoding)"
done
