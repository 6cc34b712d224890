#!/usr/bin/env python3
"""The demo itself, on a display (tools/demo.sh provides one).

A fresh Wine prefix, the sample package of demo/package installed into it,
then the uninstaller run twice: first two of the package's printers are
removed (a Pelled printer linked to one of them goes too), then the last
one with the final clean-up. Before run 2 the uninstaller runs unattended
with /WHATIF: its report (build/demo/whatif.txt) must show what run 2 then
removes, and the what-if run itself must change nothing. The demo player uses the program as a person
would and takes screenshots; with TRELUN_DEMO_INTERACTIVE=1 you use it
yourself. Each run ends with a before/after report.

With TRELUN_DEMO_ARCH=win64 the machine is 64-bit Windows (a win64 prefix,
build/demo64): the package is installed for both architectures, the
uninstaller's 64-bit program sits in its x64 folder, and the 32-bit
trelun08.exe that is started hands the run over to it.
"""
import os
import shutil
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BUILD = os.path.join(ROOT, "build")
WIN64 = os.environ.get("TRELUN_DEMO_ARCH", "win32") == "win64"
DEMO = os.path.join(BUILD, "demo64" if WIN64 else "demo")
# The demo's own programs: 64-bit ones drive and install for the 64-bit program.
TOOLS = os.path.join(BUILD, "tests64", "bin") if WIN64 else os.path.join(BUILD, "bin")
PACKAGE = os.path.join(ROOT, "demo", "package")
UNINSTALLER = r"C:\Program Files\VANTO\Corvel\Uninstall"
INTERACTIVE = os.environ.get("TRELUN_DEMO_INTERACTIVE") == "1"


def win(path):
    return "Z:" + path.replace("/", "\\")


def wine_env():
    env = dict(os.environ)
    env["TRELUN_BUILD_DIR"] = BUILD
    env["TRELUN_WINEPREFIX"] = os.path.join(DEMO, "wineprefix")
    env["TRELUN_WINEARCH"] = "win64" if WIN64 else "win32"
    out = subprocess.run(["sh", "-c", ". '%s/tools/wine-env.sh' && env -0" % ROOT], env=env,
                         check=True, capture_output=True).stdout
    return dict(item.split("=", 1) for item in out.decode().split("\0") if "=" in item)


ENV = None


def wine(*args, output=None):
    with open(output, "w") if output else open(os.devnull, "w") as out:
        return subprocess.run([ENV["WINE"]] + list(args), env=ENV, stdout=out, stderr=subprocess.STDOUT).returncode


def settle():
    subprocess.run([ENV["WINESERVER"], "-w"], env=ENV)


def report_tool(*args, output=None):
    cmd = [sys.executable, os.path.join(ROOT, "tools", "demo_report.py")] + list(args)
    if output:
        with open(output, "w") as out:
            subprocess.run(cmd, check=True, stdout=out)
    else:
        subprocess.run(cmd, check=True)


def uninstaller_host():
    return os.path.join(ENV["WINEPREFIX"], "drive_c", "Program Files", "VANTO", "Corvel", "Uninstall")


def spooler_host():
    """Where the simulator the uninstaller works with keeps its state."""
    return os.path.join(uninstaller_host(), "x64") if WIN64 else uninstaller_host()


def what_if(number):
    """The unattended what-if run before run <number>; returns its snapshots."""
    looked_before = os.path.join(DEMO, "whatif-before.json")
    looked_after = os.path.join(DEMO, "whatif-after.json")
    report_tool("snapshot", ENV["WINEPREFIX"], spooler_host(), looked_before)
    print("== What-if before run %d: trelun08.exe /SILENT /WHATIF:C:\\whatif.txt" % number, flush=True)
    code = wine(UNINSTALLER + "\\trelun08.exe", "/SILENT", "/WHATIF:C:\\whatif.txt", "/LOG:C:\\whatif.log")
    settle()
    print("   exit code %d (Wine passes its low byte: 3010 shows as 194)" % code)
    report_tool("snapshot", ENV["WINEPREFIX"], spooler_host(), looked_after)
    shutil.copy(os.path.join(ENV["WINEPREFIX"], "drive_c", "whatif.txt"), os.path.join(DEMO, "whatif.txt"))
    return looked_before, looked_after


def run(number, printers_file, chosen):
    prefix = ENV["WINEPREFIX"]
    before = os.path.join(DEMO, "before%d.json" % number)
    after = os.path.join(DEMO, "after%d.json" % number)
    player = os.path.join(DEMO, "player%d.txt" % number)
    report_tool("snapshot", prefix, spooler_host(), before)
    print("== Run %d: trelun08.exe, removing %s" % (number, ", ".join(chosen)), flush=True)
    start = time.time()
    program = UNINSTALLER + "\\trelun08.exe"
    if INTERACTIVE:
        print("   use the uninstaller's window; the report follows when it ends", flush=True)
        wine(program, output=player)
    else:
        wine(os.path.join(TOOLS, "demo_player.exe"), program, win(os.path.join(DEMO, "screens")),
             "run%d" % number, *chosen, output=player)
    settle()
    print("   the run took %.0f s" % (time.time() - start))
    report_tool("snapshot", prefix, spooler_host(), after)

    # What the scripts name for this choice, and for a choice of every printer.
    unmcheck = os.path.join(BUILD, "bin", "unmcheck.exe")
    printers = win(os.path.join(PACKAGE, printers_file))
    script = win(os.path.join(PACKAGE, "VUNZ__08.unm"))
    everything = os.path.join(DEMO, "all%d.txt" % number)
    selection = os.path.join(DEMO, "selection%d.txt" % number)
    platform = ["--platform", "x64"] if WIN64 else []
    wine(unmcheck, *platform, "--printers", printers, "--remove-all", script, output=everything)
    if chosen == ["--all"] or INTERACTIVE:
        shutil.copy(everything, selection)
    else:
        args = []
        for name in chosen:
            args += ["--remove", name]
        wine(unmcheck, *platform, "--printers", printers, *args, script, output=selection)
    text = os.path.join(DEMO, "report%d.txt" % number)
    report_tool("report", before, after, player, selection, everything, os.path.join(PACKAGE, "VUNZ__08.unm"),
                output=text)
    print(open(text).read())
    return after


def main():
    global ENV
    shutil.rmtree(DEMO, ignore_errors=True)
    programs = os.path.join(DEMO, "programs")
    os.makedirs(programs)
    os.makedirs(os.path.join(DEMO, "screens"))
    ENV = wine_env()
    # The uninstaller with the spooler simulator as its VSPOOL08.dll: this
    # demo machine's printers live in the simulator.
    for path in ["bin/trelun08.exe", "spoolsim/VSPOOL08.dll"]:
        shutil.copy(os.path.join(BUILD, path), programs)
    for name in ["vhookprobe.dll", "pelliv_standin.exe"]:
        shutil.copy(os.path.join(TOOLS, name), programs)
    if WIN64:
        os.makedirs(os.path.join(programs, "x64"))
        for path in ["bin/x64/trelun08.exe", "tests64/spoolsim/VSPOOL08.dll"]:
            shutil.copy(os.path.join(BUILD, path), os.path.join(programs, "x64"))
    print("== Installing the demo package into %s" % ENV["WINEPREFIX"], flush=True)
    wine(os.path.join(TOOLS, "demo_install.exe"), win(PACKAGE), UNINSTALLER, win(programs),
         output=os.path.join(DEMO, "install.txt"))
    print(open(os.path.join(DEMO, "install.txt")).read().strip())
    settle()

    run(1, "printers-run1.txt", ["Corvel 4410 Oficina", "\\\\SERVIDOR\\Corvel5520"])
    looked_before, looked_after = what_if(2)
    after = run(2, "printers-run2.txt", ["--all"])
    check = os.path.join(DEMO, "whatif-check.txt")
    report_tool("whatif", looked_before, looked_after, after, os.path.join(DEMO, "whatif.txt"), output=check)
    print(open(check).read())

    screens = os.path.join(DEMO, "screens")
    shots = []
    for name in sorted(os.listdir(screens)):
        if name.endswith(".bmp"):
            png = os.path.join(screens, name[:-4] + ".png")
            subprocess.run(["convert", os.path.join(screens, name), png], check=False)
            os.remove(os.path.join(screens, name))
            shots.append(png)
    subprocess.run([ENV["WINESERVER"], "-k"], env=ENV)
    print("== Screenshots")
    for png in shots:
        print("  " + png)
    print("== Reports: %s, %s, %s" % (os.path.join(DEMO, "report1.txt"), os.path.join(DEMO, "report2.txt"),
                                      os.path.join(DEMO, "whatif.txt")))


if __name__ == "__main__":
    main()
