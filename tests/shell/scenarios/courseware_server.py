"""A school's courseware comes from a web server: the player shows the server's
catalogue, fetches a lesson's package with its progress in the side panel's bar
and opens it. Restarted with the server gone, it still shows the tree; an
uncached lesson brings one message, and the cached lesson opens."""

import os
import shutil
import socket
import subprocess
import sys
import tempfile

import lessons
from player import ScenarioFailure, run_scenario, wait_until

NGINX = "/usr/sbin/nginx"
COLOURS = ("Unit 2 颜色", "Unit2 Colours")
OFFLINE_TEXT = "无法连接课件服务器，请检查网络"


class Nginx:
    """nginx serving `root` on a free loopback port, its files in a folder of its own.
    Packages are sent slowly enough for the pupil to see the bar move."""

    def __init__(self, root):
        self.dir = tempfile.mkdtemp(prefix="nginx-")
        with socket.socket() as probe:
            probe.bind(("127.0.0.1", 0))
            self.port = probe.getsockname()[1]
        self.url = f"http://127.0.0.1:{self.port}"
        self.access_log = os.path.join(self.dir, "access.log")
        temp = os.path.join(self.dir, "temp")
        os.makedirs(temp)
        with open(os.path.join(self.dir, "nginx.conf"), "w") as conf:
            conf.write(f"""daemon off; master_process off; pid {self.dir}/nginx.pid; error_log {self.dir}/error.log;
events {{ worker_connections 64; }}
http {{
  default_type application/octet-stream;
  access_log {self.access_log};
  client_body_temp_path {temp}; proxy_temp_path {temp}; fastcgi_temp_path {temp};
  uwsgi_temp_path {temp}; scgi_temp_path {temp};
  server {{ listen 127.0.0.1:{self.port}; root {root}; location /Resources/ {{ limit_rate 1m; }} }}
}}
""")
        self.process = None

    def start(self):
        self.process = subprocess.Popen([NGINX, "-p", self.dir + "/", "-c", self.dir + "/nginx.conf", "-e",
                                         self.dir + "/error.log"], stdin=subprocess.DEVNULL)
        wait_until(self._accepts, 10, "nginx accepting connections", interval=0.02)

    def _accepts(self):
        with socket.socket() as probe:
            return probe.connect_ex(("127.0.0.1", self.port)) == 0

    def stop(self):
        if self.process and self.process.poll() is None:
            self.process.kill()
            self.process.wait()

    def requests(self):
        with open(self.access_log, encoding="utf-8", errors="replace") as log:
            return log.read().splitlines()


def prepare(p):
    """The courseware moves from the program folder to the web server."""
    courseware = p.path("set")
    os.makedirs(courseware)
    for folder in ("DB", "Resources", "ENoises", "Images"):
        shutil.move(os.path.join(p.ov_home, folder), courseware)
    site = p.path("www")
    subprocess.run([p.args.ovtool, "publish", courseware, site], check=True, stdout=subprocess.DEVNULL)
    p.nginx = Nginx(site)
    p.nginx.start()
    p.env["OV_COURSEWARE_URL"] = p.nginx.url


def cleanup(p):
    if hasattr(p, "nginx"):
        p.nginx.stop()
        shutil.rmtree(p.nginx.dir, ignore_errors=True)


def click_down(p, *path):
    for name in path:
        p.click(p.find("table cell", name, timeout=15))


def bar_value(p):
    bars = p.find_all("progress bar")
    return bars[0].queryValue().currentValue if bars else 0


def restart(p):
    p.process.terminate()
    p.process.wait(10)
    p._start_player()


def body(p):
    cache = p.path("home", ".cache", "ovplayer")
    package = os.path.join(cache, "Resources", lessons.HELLO[-1] + ".ovpk")
    partial = os.path.join(cache, ".partial")
    click_down(p, *lessons.HELLO)
    wait_until(lambda: os.path.isdir(partial) and any(os.path.getsize(os.path.join(partial, f)) > 200_000
                                                      for f in os.listdir(partial)), 15, "the download under way")
    wait_until(lambda: bar_value(p) > 0, 10, "the bar above the catalogue moving with the download")
    wait_until(lambda: p.find_all("check box", "句子跟读"), 30, "the study-function column")
    if not os.path.exists(package):
        raise ScenarioFailure("the lesson's package is not in the cache")
    fetched = [line for line in p.nginx.requests() if "/Resources/" in line]
    if len(fetched) != 1 or '" 200 ' not in fetched[0]:
        raise ScenarioFailure(f"the package was fetched as {fetched}")

    p.nginx.stop()
    restart(p)
    click_down(p, *lessons.HELLO[:2], *COLOURS)
    dialog = p.find("dialog", "提示", timeout=15)
    text = "\n".join(p.text_of(label) for label in p.find_all("label", within=dialog))
    if OFFLINE_TEXT not in text:
        raise ScenarioFailure(f"the message says {text!r}")
    p.press("push button", "确定")
    wait_until(lambda: not p.find_all("dialog", "提示"), 5, "the message to close")
    click_down(p, *lessons.HELLO[2:])
    wait_until(lambda: p.find_all("check box", "句子跟读"), 30, "the cached lesson opened without the server")
    if p.find_all("dialog", "提示"):
        raise ScenarioFailure("a second message showed")

if __name__ == "__main__":
    sys.exit(run_scenario("courseware_server", body, __doc__, prepare=prepare, cleanup=cleanup,
                          extra_args=lambda parser: parser.add_argument("--ovtool", required=True)))
