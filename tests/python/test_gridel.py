"""The Python module against the program: the same bytes, errors as
exceptions with their place, threads that draw at once."""

import io
import os
import shutil
import subprocess
import threading

import pytest

import gridel

EXAMPLES = os.environ["GRIDEL_EXAMPLES"]
PROGRAM = os.environ["GRIDEL_BINARY"]
CLOCK = "2026-12-06 09:05"


@pytest.fixture(autouse=True)
def fixed_clock(monkeypatch):
    monkeypatch.setenv("GRIDEL_CLOCK", CLOCK)


def example(name):
    return os.path.join(EXAMPLES, name, "gl-%s.txt" % name)


def program(folder, datafile, *args):
    """Run the program on `datafile` in `folder`: its status and standard error."""
    env = dict(os.environ, GRIDEL_CLOCK=CLOCK)
    done = subprocess.run([PROGRAM, *args, datafile], cwd=folder, env=env, capture_output=True,
                          stdin=subprocess.DEVNULL)
    return done.returncode, done.stderr.decode()


def copied(tmp_path, name):
    """The example `name` with its preferences in a folder of the test's own."""
    for f in os.listdir(os.path.join(EXAMPLES, name)):
        if f.endswith(".txt"):
            shutil.copy(os.path.join(EXAMPLES, name, f), tmp_path / f)
    return tmp_path


def read(path):
    with open(path, "rb") as f:
        return f.read()


@pytest.mark.parametrize("name,formats", [("basic", ("svg", "pdf", "png")), ("calculated", ("svg",))])
def test_path_gives_the_programs_bytes(tmp_path, monkeypatch, name, formats):
    folder = copied(tmp_path, name)
    status, _ = program(folder, "gl-%s.txt" % name, *[a for f in formats for a in ("-T", f)])
    assert status == 0
    monkeypatch.chdir(folder)
    figure = gridel.draw("gl-%s.txt" % name, formats=formats)
    assert figure.eps == read(folder / ("gl-%s.eps" % name))
    for f in formats:
        assert getattr(figure, f) == read(folder / ("gl-%s.%s" % (name, f)))
    assert figure.log == read(folder / ("gl-%s.log" % name)).decode()


def test_text_and_file_object_give_the_same_drawing(tmp_path):
    text = read(example("basic"))
    by_text = gridel.draw(text.decode(), name="gl-basic.txt")
    with open(example("basic"), "rb") as f:
        by_file = gridel.draw(f)
    by_bytes = gridel.draw(io.BytesIO(text), name="gl-basic.txt")
    assert by_text.svg == by_file.svg == by_bytes.svg
    assert by_text.eps == by_file.eps


def test_style_lines_are_the_scripts_last_lines(tmp_path):
    text = read(example("basic")).decode()
    lines = ["numbering no", "showlineinfo yes"]
    cut = text.rstrip().rfind("\n*")
    (tmp_path / "gl-basic.txt").write_text(text[:cut] + "\n" + "\n".join(lines) + text[cut:])
    status, _ = program(tmp_path, "gl-basic.txt", "-T", "svg")
    assert status == 0
    style = io.StringIO(lines[0] + "\n")
    figure = gridel.draw(text, style=style, set=lines[1:], name="gl-basic.txt")
    assert figure.svg == read(tmp_path / "gl-basic.svg")
    assert gridel.draw(text, name="gl-basic.txt").svg != figure.svg


def test_a_wrong_file_raises_with_its_place(tmp_path):
    text = read(example("basic")).decode().replace("504 3.75   200 0.1", "5x4 3.75   200 0.1")
    (tmp_path / "gl-bad.txt").write_text(text)
    status, errors = program(tmp_path, "gl-bad.txt")
    assert status == 1
    before = sorted(tmp_path.iterdir())
    with pytest.raises(gridel.DiagramError) as caught:
        gridel.draw(str(tmp_path / "gl-bad.txt"))
    error = caught.value
    assert error.line > 0 and error.column > 0
    headline = errors.splitlines()[0]
    assert str(error) == headline.replace("gl-bad.txt", str(tmp_path / "gl-bad.txt"), 1)
    assert headline.startswith("gl-bad.txt:%d:%d: error: " % (error.line, error.column))
    assert all(("note: " + n) in errors for n in error.notes)
    assert sorted(tmp_path.iterdir()) == before  # nothing written


def test_callers_mistakes_raise_value_error():
    with pytest.raises(ValueError):
        gridel.draw(example("basic"), formats=("gif",))
    with pytest.raises(ValueError):
        gridel.draw(example("basic"), dpi=5)
    with pytest.raises(FileNotFoundError):
        gridel.draw("no-such-file.txt")


def test_two_threads_each_get_their_own_drawing():
    alone = {n: gridel.draw(example(n), formats=("svg", "png")) for n in ("basic", "calculated")}
    got = {}

    def work(name):
        got[name] = [gridel.draw(example(name), formats=("svg", "png")) for _ in range(3)]

    threads = [threading.Thread(target=work, args=(n,)) for n in alone]
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    for name, figures in got.items():
        for f in figures:
            assert f.svg == alone[name].svg and f.png == alone[name].png and f.log == alone[name].log


def test_figure_shows_itself_and_saves_as_a_set(tmp_path):
    figure = gridel.draw(example("basic"), formats=("svg", "png"), set=["", "darkcolour 1 2"])
    assert figure._repr_svg_().startswith("<?xml")
    assert figure._repr_png_()[:4] == b"\x89PNG"
    assert [str(w) for w in figure.warnings] == ["-e:2: warning: darkcolour needs three numbers: the line is ignored"]
    written = figure.save(tmp_path / "out")
    assert sorted(os.listdir(tmp_path)) == ["out.eps", "out.log", "out.png", "out.svg"]
    assert written[-1].endswith("out.log")
    assert read(tmp_path / "out.svg") == figure.svg
    assert gridel.draw(example("basic"))._repr_png_() is None
