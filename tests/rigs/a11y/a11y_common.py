"""What the accessibility rig's scripts share: the program's texts in the rig's language, checks
that count failures, polling, keys, and the accessibility tree of the running program."""
import os
import subprocess
import time

import pyatspi

failures = 0
english = os.environ.get("LANGUAGE", "").startswith("en")
T = dict(zip(["caption", "close", "start", "stop", "details_button", "details", "less", "set", "default", "test",
              "stop_test", "run_at_logon", "notice", "sound_settings", "sound_test", "sweep_playing", "stopped",
              "test_playing"],
             ["Mosquito Repeller v1.0", "Close", "Start", "Stop", "Details>>", "Details >>", "Less <<", "Set",
              "Default", "Test Sound", "Stop Test", "Start at logon", "This free mosquito repeller",
              "Sound settings", "Speaker test", "sweep playing", "stopped", "test sound playing"] if english else
             ["모기 퇴치용 프로그램 v1.0", "닫기", "시작", "멈춤", "상세보기>>", "상세보기 >>", "작게보기 <<", "설정", "기본값",
              "사운드 테스트", "사운드 멈춤", "시작 시 실행하기", "본 프로그램은", "사운드 설정", "컴퓨터 사운드 테스트",
              "스윕 재생 중", "정지됨", "사운드 테스트 재생 중"]))


def role(acc):
    """The role's name as the checks spell it, whichever at-spi names it: at-spi2-core 2.56 calls
    a push button "button"."""
    return "push button" if acc.getRole() == pyatspi.ROLE_PUSH_BUTTON else acc.getRoleName()


def hangul(text):
    return any("\uac00" <= c <= "\ud7a3" or "\u1100" <= c <= "\u11ff" or "\u3130" <= c <= "\u318f" for c in text)


def check(what, good):
    global failures
    print(("ok: " if good else "FAIL: ") + what, flush=True)
    if not good:
        failures += 1
    return good


def wait(predicate, seconds=10):
    end = time.monotonic() + seconds
    while True:
        try:
            if predicate():
                return True
        except Exception:
            pass
        if time.monotonic() > end:
            return False
        time.sleep(0.05)


def keys(*names):
    subprocess.run(["xdotool", "key", "--delay", "40", *names], check=True)


def application(pid):
    for a in pyatspi.Registry.getDesktop(0):
        if a is not None and a.get_process_id() == pid:
            return a
    return None


def walk(node, found=None):
    found = [] if found is None else found
    for child in node:
        if child is None:
            continue
        found.append(child)
        walk(child, found)
    return found


def states(acc):
    return acc.getState()


def focused_in(win):
    for acc in walk(win):
        if states(acc).contains(pyatspi.STATE_FOCUSED):
            return acc
    return None
