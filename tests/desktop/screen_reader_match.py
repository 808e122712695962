#!/usr/bin/python3
"""Plays a whole match of Lozetta through the desktop's accessibility bus alone, as a player with a
screen reader does: from another process, with libatspi's cache on (its main loop runs, as in a
screen reader), reading only names and states, pressing only by actions, never a pixel.

    screen_reader_match.py BUILD_DIR

Run on a display with a private session bus; the accessibility bus is started here. At each of
its turns the player checks that the table's names agree with each other. After each of its
moves, while the computer seats play, it presses the end markers it heard before, now hidden,
and the hidden start button: nothing may come of it.
"""
import os
import re
import subprocess
import sys
import time
import warnings

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

# The action names are read through the only call this libatspi offers for them.
warnings.simplefilter("ignore", DeprecationWarning)

# Seconds without an event: the table waits for someone. Longer than the longest quiet stretch
# of play (the pause after the player's tile, then three silent passes).
SETTLE = 1.0
TIMEOUT = 540  # a match of blocked hands runs long
TILES = 28
TARGET = "2"  # hands won: a short match, yet more than one hand
SHOWING = Atspi.StateType.SHOWING
last_event = [time.monotonic()]


def children(node):
    return [c for c in (node.get_child_at_index(i) for i in range(node.get_child_count())) if c]


def showing(node):
    return node.get_state_set().contains(SHOWING)


def find(node, wanted):
    """Every shown node under node whose name matches the pattern, depth first."""
    found = []
    for child in children(node):
        if showing(child):
            if re.fullmatch(wanted, child.get_name() or ""):
                found.append(child)
            found += find(child, wanted)
    return found


def press(node, action="Press"):
    actions = [Atspi.Action.get_action_name(node, i) for i in range(node.get_n_actions())]
    assert action in actions, (node.get_name(), actions)
    node.do_action(actions.index(action))


def tiles(names, pattern):
    return [tuple(map(int, m.groups())) for n in names if (m := re.fullmatch(pattern, n))]


class Player:
    def __init__(self):
        self.app = None
        self.messages = []
        self.expected = None  # the hand and chain due at the next turn of this hand
        self.armed = []  # controls to press while the computer seats play
        self.hidden_presses = 0

    def table(self):
        tables = find(self.app, "Mesa")
        return [n.get_name() for n in children(tables[0]) if showing(n)] if tables else []

    def check_turn(self, names):
        """The hand, the chain, its open ends and the face-down counts agree with each other."""
        text = " | ".join(names)
        hand = tiles(names, r"Ficha (\d)/(\d)")
        chain = tiles(names, r"Ficha (\d)/(\d) en la mesa(?:, extremos? .*)?")
        ends = [int(v) for v in re.findall(r"Extremo \d, cruz \w+, abierto al (\d)", text)]
        down = sum(int(n) for n in re.findall(r"Jugador \d, (\d) fichas? boca abajo", text))
        assert len(hand) + len(chain) + down == TILES, text
        assert len({tuple(sorted(t)) for t in hand + chain}) == len(hand) + len(chain), text
        assert all(left[1] == right[0] for left, right in zip(chain, chain[1:])), text
        on_table = [n for n in names if " en la mesa" in n]
        if chain:
            assert ends == [chain[0][0], chain[-1][1]], text
            assert re.search("extremos? 1", on_table[0]) and on_table[-1].endswith("2"), text
        else:
            assert not ends and (6, 6) in hand, text
        if self.expected:
            assert hand == self.expected[0], (self.expected, text)
            assert str(self.expected[1])[1:-1] in str(chain), (self.expected, text)
        return hand, chain, ends

    def my_turn(self, names):
        hand, chain, ends = self.check_turn(names)
        markers = find(self.app, r"Extremo \d, .*")
        moves = [(t, m) for t in hand for e, m in zip(ends, markers) if e in t] or (
            [((6, 6), markers[0])] if not chain else [])
        hidden = markers + find(self.app, "Comenzar la partida|Siguiente mano")
        if not moves:
            self.expected = (hand, chain)
            press(find(self.app, "Pasar")[0])
            return
        tile, marker = moves[0]
        self.expected = ([t for t in hand if t != tile], chain)
        press(find(self.app, "Ficha %d/%d" % tile)[0])
        yield lambda: find(self.app, "Ficha seleccionada: %d/%d" % tile)
        press(marker)
        self.armed = hidden

    def heard(self, event):
        """As a computer seat's move is heard, presses what was heard before and is hidden now."""
        last_event[0] = time.monotonic()
        if not self.armed or not re.match(r"Jugador \d, ", event.source.get_name() or ""):
            return
        hidden, self.armed = self.armed, []
        for control in hidden:
            if showing(control):
                continue  # heard late, on the player's next turn: it may be pressed now
            try:
                control.do_action(0)
            except GLib.Error:
                pass
            self.hidden_presses += 1

    def answer(self, box, names):
        text = [n.get_name() for n in find(box, ".+") if n.get_role() == Atspi.Role.LABEL]
        self.messages += text
        self.expected = None
        self.armed = []
        scores = dict(re.findall(r"Marcador, Jugador (\d): (\d+)", " | ".join(names)))
        for line in text:
            if m := re.fullmatch(r"Ganador de la mano: Jugador (\d)\.", line):
                assert m[1] == "1" or "Jugador %s" % m[1] in names, names
            if m := re.fullmatch(r"Fin de partida\. Ha ganado el jugador (\d)", line):
                assert scores[m[1]] == TARGET and list(scores.values()).count(TARGET) == 1, names
        press(find(box, "OK")[0])
        yield lambda: not showing(box)

    def step(self):
        before = last_event[0]
        boxes = [w for w in children(self.app) if showing(w) and w.get_name() == "Lozetta"]
        names = self.table()
        if not settled() or last_event[0] != before:
            return  # the table moved while it was read: read it again once it rests
        if boxes:
            yield from self.answer(boxes[0], names)
        elif any(n.startswith("Extremo") for n in names):
            yield from self.my_turn(names)
        elif "Comenzar la partida" in names or "Siguiente mano" in names:
            press(find(self.app, "Comenzar la partida|Siguiente mano")[0])
            yield lambda: not find(self.app, "Comenzar la partida|Siguiente mano")

    def play(self):
        yield lambda: find(self.app, "Logotipo de Lozetta")
        press(find(self.app, "Logotipo de Lozetta")[0])
        yield lambda: find(self.app, "Partidas")
        press(find(self.app, "Partidas")[0], "Toggle")  # an option button's press
        target = [c for c in find(self.app, ".*") if c.get_description() == "Meta en partidas"]
        children(target[0])[-1].set_text_contents(TARGET)
        press(find(self.app, "OK")[0])
        while not any(m.startswith("Fin de partida") for m in self.messages):
            yield settled
            yield from self.step()
        assert "Señala una ficha primero." not in self.messages, self.messages
        assert self.hidden_presses > 0, "nothing hidden was pressed"


def settled():
    # Events already on the bus count too: the cache learns of them only once they are dispatched.
    context = GLib.MainContext.default()
    while context.pending():
        context.iteration(False)
    return time.monotonic() - last_event[0] > SETTLE


def run(script):
    wait = [lambda: True]
    failure = []

    def tick():
        try:
            if wait[0]():
                wait[0] = next(script)
            return True
        except StopIteration:
            pass
        except Exception as error:  # noqa: BLE001 -- reported below, after the loop ends
            failure.append(error)
        Atspi.event_quit()
        return False

    GLib.timeout_add(20, tick)
    GLib.timeout_add_seconds(TIMEOUT, lambda: failure.append("timed out") or Atspi.event_quit())
    Atspi.event_main()
    if failure:
        raise failure[0] if isinstance(failure[0], Exception) else AssertionError(failure[0])


def the_game(desktop):
    deadline = time.monotonic() + 30
    while not (apps := [a for a in children(desktop) if a.get_name() == "Lozetta"]):
        assert time.monotonic() < deadline, "the game never reached the accessibility bus"
        time.sleep(0.2)
    return apps[0]


def main(build):
    # The accessibility bus, as a desktop session starts it, with the registry it activates.
    bus = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately", "--a11y=1"])
    game = None
    try:
        Atspi.init()
        player = Player()
        listener = Atspi.EventListener.new(player.heard)
        for kind in ("object:children-changed", "object:property-change", "object:state-changed"):
            listener.register(kind)
        env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        game = subprocess.Popen(["./lozetta"], cwd=build, env=env)
        player.app = the_game(Atspi.get_desktop(0))
        run(player.play())
        print("screen reader match: %d messages, %d hidden presses" %
              (len(player.messages), player.hidden_presses))
        print("1 passed, 0 failed")
    finally:
        if game:
            game.kill()
            game.wait()
        bus.terminate()
        bus.wait()


if __name__ == "__main__":
    main(sys.argv[1])
