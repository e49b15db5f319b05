#!/usr/bin/python3
"""Thumbnails through the real clients of the thumbnailer entry, never a mock.

    thumbnail_clients.py tumbler NATIVE_BUILD_DIR THUMBNAIL_SAMPLES EXTRACT_ICONS
    thumbnail_clients.py gnome THUMBNAIL_SAMPLES

tumbler: Debian's thumbnail service.  The project is installed into a staging folder
(cmake --install with DESTDIR), and tumblerd runs on a private session bus with HOME,
XDG_CACHE_HOME and XDG_CONFIG_HOME in a temporary folder and XDG_DATA_DIRS naming only
the staged install (and the shared MIME database), so the one thumbnailer entry it
finds for Windows modules is ours.
Over D-Bus (org.freedesktop.thumbnails.Thumbnailer1) the test checks that the service
lists the MIME types that the shared MIME database gives to modules of every
extension, then asks for normal (128) and large (256) thumbnails of a PE32 library, a
PE32+ program, an NE icon library, a module without icons and a damaged file, and waits
for the Ready, Error and Finished signals.  The first three must be ready, their PNGs in
$XDG_CACHE_HOME/thumbnails/{normal,large} of the right size and with the pixels of the
image that `extract-icons --png --size` decodes (scaled down by the service where it is
larger than the thumbnail); the other two must fail, with no thumbnail and no file left
behind; tumblerd must still be running afterwards.

gnome: GNOME's thumbnail factory (gnome-desktop), which runs thumbnailers in a bwrap
sandbox that shows them only /usr, the input and the output folder.  It runs where the
package is installed in /usr (package_test.sh shows it there in a mount namespace of
its own) and makes the same thumbnails with the same checks, except that the factory
does not scale an image larger than the thumbnail down: it keeps what it was given.
"""
import glob
import hashlib
import os
import shutil
import subprocess
import sys
import tempfile
import time

import gi

gi.require_version("GdkPixbuf", "2.0")
from gi.repository import GdkPixbuf, Gio, GLib  # noqa: E402

BUS_NAME = "org.freedesktop.thumbnails.Thumbnailer1"
BUS_PATH = "/org/freedesktop/thumbnails/Thumbnailer1"
TUMBLERD = "/usr/lib/x86_64-linux-gnu/tumbler-1/tumblerd"
FLAVORS = {"normal": 128, "large": 256}
READY = ("pe32.dll", "pe64.exe", "ne.icl")
FAILING = ("noicons.dll", "damaged.exe")
# Extensions that Windows modules carry, each checked against the MIME database.
EXTENSIONS = (".exe", ".dll", ".cpl", ".ocx", ".scr", ".icl", ".mun")

BUS_CONFIG = """<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:dir={dir}</listen>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
"""

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
        print("FAIL: " + message)
    return condition


def content_type(path):
    """The type that the shared MIME database (through GIO) gives the file."""
    info = Gio.File.new_for_path(path).query_info("standard::content-type", 0, None)
    return info.get_content_type()


def rgba(pixbuf):
    """The pixels as rows of RGBA bytes, whatever the pixbuf's layout."""
    width, height, stride = pixbuf.get_width(), pixbuf.get_height(), pixbuf.get_rowstride()
    channels = pixbuf.get_n_channels()
    data = pixbuf.get_pixels()
    out = bytearray()
    for y in range(height):
        row = data[y * stride:y * stride + width * channels]
        if channels == 4:
            out += row
        else:
            for x in range(width):
                out += row[x * 3:x * 3 + 3] + b"\xff"
    return bytes(out)


def largest_difference(a, b):
    """The largest difference of one channel between two RGBA buffers; colour counts only
    where a pixel is not fully transparent in both."""
    worst = 0
    for i in range(0, len(a), 4):
        if a[i + 3] == 0 and b[i + 3] == 0:
            continue
        worst = max(worst, max(abs(a[i + k] - b[i + k]) for k in range(4)))
    return worst


class Service:
    """A private session bus and tumblerd on it, in an environment of their own."""

    def __init__(self, work, stage):
        self.work = work
        for d in ("home", "cache", "config", "data-home", "run", "bus", "mime-only"):
            os.makedirs(os.path.join(work, d), exist_ok=True)
        os.chmod(os.path.join(work, "run"), 0o700)
        # Besides the staged install, the service sees the shared MIME database alone
        # (GdkPixbuf recognises images through it), not the machine's thumbnailers.
        os.symlink("/usr/share/mime", os.path.join(work, "mime-only", "mime"))
        self.env = dict(os.environ,
                        HOME=os.path.join(work, "home"),
                        XDG_CACHE_HOME=os.path.join(work, "cache"),
                        XDG_CONFIG_HOME=os.path.join(work, "config"),
                        XDG_DATA_HOME=os.path.join(work, "data-home"),
                        XDG_DATA_DIRS=os.path.join(stage, "usr", "share") + ":" + os.path.join(work, "mime-only"),
                        XDG_RUNTIME_DIR=os.path.join(work, "run"),
                        PATH=os.path.join(stage, "usr", "bin") + ":/usr/bin:/bin")
        config = os.path.join(work, "bus.conf")
        with open(config, "w") as f:
            f.write(BUS_CONFIG.format(dir=os.path.join(work, "bus")))
        self.bus_daemon = subprocess.Popen(["dbus-daemon", "--config-file=" + config, "--nofork", "--print-address"],
                                           stdout=subprocess.PIPE, env=self.env, text=True)
        self.address = self.bus_daemon.stdout.readline().strip()
        self.env["DBUS_SESSION_BUS_ADDRESS"] = self.address
        self.log = open(os.path.join(work, "tumblerd.log"), "w")
        self.tumblerd = subprocess.Popen([TUMBLERD], env=self.env, stdout=self.log, stderr=subprocess.STDOUT)
        self.bus = Gio.DBusConnection.new_for_address_sync(
            self.address, Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION,
            None, None)
        self.signals = []
        self.bus.signal_subscribe(None, BUS_NAME, None, BUS_PATH, None, Gio.DBusSignalFlags.NONE,
                                  lambda *args: self.signals.append((args[4], args[5].unpack())))

    def call(self, method, args, reply):
        return self.bus.call_sync(BUS_NAME, BUS_PATH, BUS_NAME, method, args, GLib.VariantType(reply),
                                  Gio.DBusCallFlags.NONE, 60000, None).unpack()

    def wait_for_name(self, seconds):
        """True once tumblerd owns its name (it scans its plugins first)."""
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline and self.tumblerd.poll() is None:
            owned = self.bus.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                                       "NameHasOwner", GLib.Variant("(s)", (BUS_NAME,)), GLib.VariantType("(b)"),
                                       Gio.DBusCallFlags.NONE, 5000, None).unpack()[0]
            if owned:
                return True
            time.sleep(0.1)
        return False

    def thumbnail(self, paths, flavor, seconds):
        """Queues the files and waits for the request to finish: (ready URIs, failed URIs
        with their messages), or None on a time-out."""
        uris = [Gio.File.new_for_path(p).get_uri() for p in paths]
        types = [content_type(p) for p in paths]
        handle = self.call("Queue", GLib.Variant("(asasssu)", (uris, types, flavor, "default", 0)), "(u)")[0]
        context = GLib.MainContext.default()
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            while context.iteration(False):
                pass
            if ("Finished", (handle,)) in self.signals:
                break
            time.sleep(0.02)
        else:
            return None
        ready, failed = set(), {}
        for name, args in self.signals:
            if args[0] != handle:
                continue
            if name == "Ready":
                ready.update(args[1])
            elif name == "Error":
                for uri in args[1]:
                    failed[uri] = args[3]
        return ready, failed

    def stop(self):
        for process in (self.tumblerd, self.bus_daemon):
            if process.poll() is None:
                process.terminate()
                try:
                    process.wait(10)
                except subprocess.TimeoutExpired:
                    process.kill()
        self.log.close()


def expected_image(extract_icons, path, size, work):
    """The image that `extract-icons --png --size SIZE` decodes from the file's first group."""
    out = tempfile.mkdtemp(dir=work)
    subprocess.run([extract_icons, "--png", "--size", str(size), "-o", out, path], check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    title = os.path.splitext(os.path.basename(path))[0]
    files = glob.glob(os.path.join(out, title + "-1-*.png"))
    return GdkPixbuf.Pixbuf.new_from_file(files[0]) if len(files) == 1 else None


def check_thumbnail(client, got, path, size, extract_icons, work, client_scales):
    """A client's thumbnail of `path` for `size` against the decoded image (scaled down to
    fit when it is larger and the client scales): the same size, and the same pixels
    (within the rounding of two scalings when it was scaled)."""
    name = os.path.basename(path)
    image = expected_image(extract_icons, path, size, work)
    if not check(image is not None, f"{name}: extract-icons --png wrote no image of group 1"):
        return
    width, height = image.get_width(), image.get_height()
    scale = min(1.0, size / max(width, height)) if client_scales else 1.0
    want = (max(1, round(width * scale)), max(1, round(height * scale)))
    if not check((got.get_width(), got.get_height()) == want,
                 f"{client} {size} {name}: {got.get_width()}x{got.get_height()}, expected {want[0]}x{want[1]}"):
        return
    if scale == 1.0:
        worst, allowed = largest_difference(rgba(got), rgba(image)), 0
    else:
        scaled = image.scale_simple(want[0], want[1], GdkPixbuf.InterpType.BILINEAR)
        worst, allowed = largest_difference(rgba(got), rgba(scaled)), 2
    print(f"{client} {size} {name}: {got.get_width()}x{got.get_height()} from a {width}x{height} image, "
          f"largest channel difference {worst}")
    check(worst <= allowed, f"{client} {size} {name}: pixels differ by up to {worst}")


def make_samples(samples, work):
    """The sample modules, and copies of two of them under every module extension."""
    files = os.path.join(work, "files")
    os.makedirs(files)
    subprocess.run([samples, files], check=True)
    for ext in EXTENSIONS:
        shutil.copy(os.path.join(files, "pe32.dll"), os.path.join(files, "as-pe32" + ext))
        shutil.copy(os.path.join(files, "ne.icl"), os.path.join(files, "as-ne" + ext))
    return files


def no_leftovers(folders):
    leftovers = [f for d in folders for f in glob.glob(os.path.join(d, ".~thumbnail*"))]
    check(not leftovers, f"temporary files left behind: {leftovers}")


def run_tumbler(build, samples, extract_icons, work):
    stage = os.path.join(work, "stage")
    subprocess.run(["cmake", "--install", build, "--prefix", "/usr"], check=True, stdout=subprocess.DEVNULL,
                   env=dict(os.environ, DESTDIR=stage))
    files = make_samples(samples, work)
    service = Service(os.path.join(work, "service"), stage)
    try:
        if not check(service.wait_for_name(120), "tumblerd did not take its bus name"):
            return
        # The types the database gives modules must be ones the service thumbnails.
        schemes, mime_types = service.call("GetSupported", None, "(asas)")
        supported = {m for s, m in zip(schemes, mime_types) if s == "file"}
        types = {}
        for name in sorted(os.listdir(files)):
            types.setdefault(content_type(os.path.join(files, name)), []).append(name)
        for mime_type, names in sorted(types.items()):
            print(f"MIME type {mime_type}: {', '.join(names)}")
            check(mime_type in supported, f"{mime_type} ({', '.join(names)}) is not thumbnailed")

        paths = [os.path.join(files, name) for name in READY + FAILING]
        for flavor, size in FLAVORS.items():
            result = service.thumbnail(paths, flavor, 120)
            if not check(result is not None, f"tumbler {flavor}: the request did not finish"):
                continue
            ready, failed = result
            cache = os.path.join(service.env["XDG_CACHE_HOME"], "thumbnails", flavor)
            for path in paths:
                name = os.path.basename(path)
                uri = Gio.File.new_for_path(path).get_uri()
                thumbnail = os.path.join(cache, hashlib.md5(uri.encode()).hexdigest() + ".png")
                if name in FAILING:
                    check(uri in failed and uri not in ready, f"tumbler {flavor} {name}: did not fail")
                    check(not os.path.exists(thumbnail), f"tumbler {flavor} {name}: a thumbnail was written")
                    continue
                if not check(uri in ready and os.path.exists(thumbnail),
                             f"tumbler {flavor} {name}: no thumbnail ({failed.get(uri, 'no error reported')})"):
                    continue
                got = GdkPixbuf.Pixbuf.new_from_file(thumbnail)
                check(got.get_option("tEXt::Thumb::URI") == uri, f"tumbler {flavor} {name}: Thumb::URI is not the file's")
                check_thumbnail("tumbler", got, path, size, extract_icons, work, client_scales=True)

        no_leftovers([tempfile.gettempdir(), files])
        check(service.tumblerd.poll() is None, "tumblerd is no longer running")
        check(len(service.call("GetSupported", None, "(asas)")[1]) > 0, "tumblerd no longer answers")
    finally:
        service.stop()


def run_gnome(samples, work):
    gi.require_version("GnomeDesktop", "3.0")
    from gi.repository import GnomeDesktop
    # The factory keeps its cache and the sandbox's folders under HOME.
    os.environ["HOME"] = os.path.join(work, "home")
    os.environ["XDG_CACHE_HOME"] = os.path.join(work, "cache")
    check(shutil.which("bwrap") is not None, "bwrap is missing: the factory would run thumbnailers unconfined")
    files = make_samples(samples, work)
    sizes = {GnomeDesktop.DesktopThumbnailSize.NORMAL: 128, GnomeDesktop.DesktopThumbnailSize.LARGE: 256}
    for flavor, size in sizes.items():
        factory = GnomeDesktop.DesktopThumbnailFactory.new(flavor)
        for name in READY + FAILING:
            path = os.path.join(files, name)
            uri, mime_type = Gio.File.new_for_path(path).get_uri(), content_type(path)
            if not check(factory.can_thumbnail(uri, mime_type, 0), f"gnome {size} {name}: {mime_type} not thumbnailed"):
                continue
            try:
                got = factory.generate_thumbnail(uri, mime_type, None)
            except GLib.Error as error:
                check(name in FAILING, f"gnome {size} {name}: failed: {error.message}")
                continue
            if check(name in READY, f"gnome {size} {name}: a thumbnail was made"):
                # The factory keeps what the thumbnailer wrote, unscaled.
                check_thumbnail("gnome", got, path, size, "/usr/bin/extract-icons", work, client_scales=False)
    no_leftovers([files])


def main():
    work = tempfile.mkdtemp(prefix="thumbnail-clients-")
    try:
        if sys.argv[1:2] == ["tumbler"] and len(sys.argv) == 5:
            run_tumbler(*sys.argv[2:5], work)
        elif sys.argv[1:2] == ["gnome"] and len(sys.argv) == 3:
            run_gnome(sys.argv[2], work)
        else:
            print(__doc__.split("\n\n")[1])
            return 2
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("PASS" if not failures else f"{len(failures)} checks failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
