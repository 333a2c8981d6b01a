"""Tests of readme_examples.py: which blocks run, what counts as their shown
output, when a shown output matches what an example prints, and which links
lead nowhere."""

import os
import sys

sys.path.insert(0, os.path.dirname(__file__))
from readme_examples import Example, broken_links, run_example, runnable_examples, shows  # noqa: E402

DOCUMENT = """Intro.

```sh
not marked
```

```sh runnable
echo one
```

```
one
```

```python runnable
print(2)
```

Text between: what follows is no shown output.

```
2
```

```ruby runnable
puts 3
```
"""


def test_only_marked_sh_and_python_blocks_run_with_the_plain_block_right_after_as_output():
    examples = runnable_examples(DOCUMENT)
    assert [(e.line, e.language, e.code, e.shown) for e in examples] == [
        (7, "sh", "echo one\n", ["one"]),
        (15, "python", "print(2)\n", None),
    ]


def test_shown_lines_must_stand_one_after_the_other_in_the_printed_ones():
    printed = ["Wrote 3 cases", "text  f1", "a     0.5", "b     0.7", "Wrote x"]
    assert shows(printed, ["a     0.5", "b     0.7"])
    assert not shows(printed, ["a     0.5", "b     0.8"])
    assert not shows(printed, ["b     0.7", "a     0.5"])
    assert shows(printed, ["text  f1", "...", "b     0.7"])
    assert shows(printed, ["text ...", "a     0.5"])
    assert not shows(printed, ["text  f2 ...", "a     0.5"])
    assert not shows(printed, ["a     0.5", "...", "missing"])


def test_a_failing_or_changed_example_is_reported_with_what_it_printed(tmp_path):
    env = dict(os.environ)
    failing = Example(1, "sh", "echo partial\nexit 3\n", None)
    assert run_example(failing, tmp_path, env) == "exited with status 3; it printed:\npartial\n"
    changed = Example(1, "sh", "echo 0.5001\n", ["0.5000"])
    assert run_example(changed, tmp_path, env).startswith("printed an output other than the one shown:")
    assert "-0.5000" in run_example(changed, tmp_path, env)
    unchanged = Example(1, "sh", "echo note >&2; echo 0.5000\n", ["0.5000"])
    assert run_example(unchanged, tmp_path, env) is None


def test_a_relative_link_must_lead_to_a_file_and_its_anchor_to_a_heading(tmp_path):
    (tmp_path / "docs").mkdir()
    (tmp_path / "docs" / "page.md").write_text("# Page\n\n## Files, and `their` formats\n", encoding="utf-8")
    readme = tmp_path / "README.md"
    text = ("[a](docs/page.md) [b](docs/page.md#files-and-their-formats) [c](https://example.org/x)\n"
            "[d](docs/missing.md) [e](docs/page.md#formats) [f](#top)\n\n"
            "```sh\n[i](not/checked.md)\n```\n\n# Top\n")
    assert broken_links(str(readme), text) == [(2, "docs/missing.md"), (2, "docs/page.md#formats")]
