#!/usr/bin/env python3
"""Validates example and program-written JSON files against schemas/*.schema.json, and
known-bad variants of them.

Usage: test_schemas.py IPCORE_HOST SOURCE_DIR WORK_DIR
Exit 77 (skipped) when python3-jsonschema is missing.
"""
import copy
import glob
import json
import os
import shutil
import subprocess
import sys
import unittest

try:
    from jsonschema import Draft202012Validator
except ImportError:
    print("python3-jsonschema is not installed", file=sys.stderr)
    sys.exit(77)

PROGRAM, SOURCE, WORK = (os.path.abspath(p) for p in sys.argv[1:4])
EXAMPLES = os.path.join(SOURCE, "examples")
DEVICE = "TQ2H4-FF676"
DROP = object()


def example(*parts):
    return os.path.join(EXAMPLES, *parts)


def load(path):
    with open(path, encoding="utf-8") as f:
        return json.load(f)


def errors(kind, document):
    schema = load(os.path.join(SOURCE, "schemas", kind + ".schema.json"))
    checker = Draft202012Validator(schema, format_checker=Draft202012Validator.FORMAT_CHECKER)
    return [f"{list(e.absolute_path)}: {e.message}" for e in checker.iter_errors(document)]


def run(*args, code=0):
    result = subprocess.run([PROGRAM, *args], cwd=WORK, capture_output=True, text=True,
                            timeout=60, env=dict(os.environ, QT_QPA_PLATFORM="offscreen"))
    assert result.returncode == code, f"{args}: exit {result.returncode}: {result.stderr}"
    return result.stdout


def fresh_dir(name):
    path = os.path.join(WORK, name)
    shutil.rmtree(path, ignore_errors=True)
    os.makedirs(path)
    return path


def changed(document, path, value):
    """A copy with the member at path ("lanes/0/owner") set to value, or removed by DROP."""
    copied = copy.deepcopy(document)
    *parents, last = [int(p) if p.isdigit() else p for p in path.split("/")]
    target = copied
    for key in parents:
        target = target[key]
    if value is DROP:
        target.pop(last)
    else:
        target[last] = value
    return copied


def snapshot(out, *args):
    run("configure", "--device", DEVICE, "--snapshot", out, *args)
    return load(os.path.join(out, "dialog.json"))


class Schemas(unittest.TestCase):
    def assertValid(self, kind, document, where):
        self.assertEqual(errors(kind, document), [], where)

    def assertBroken(self, kind, good, cases):
        """Each (path, value) change of a valid document must fail the schema."""
        self.assertValid(kind, good, kind)
        for path, value in cases:
            with self.subTest(kind=kind, path=path, value=value):
                self.assertNotEqual(errors(kind, changed(good, path, value)), [])

    def test_schema_files(self):
        paths = sorted(glob.glob(os.path.join(SOURCE, "schemas", "*.schema.json")))
        # Every schema is exercised below.
        self.assertEqual([os.path.basename(p).split(".")[0] for p in paths],
                         ["check-verdict", "design", "dialog-snapshot", "link-plan",
                          "parameter-set", "resources"])
        for path in paths:
            schema = load(path)
            Draft202012Validator.check_schema(schema)
            self.assertEqual(schema["$schema"], "https://json-schema.org/draft/2020-12/schema")
            self.assertTrue(schema["$id"].endswith("/" + os.path.basename(path)))
            self.assertTrue(schema["title"] and schema["description"])
            self.assertIs(schema["additionalProperties"], False)
            for key, sub in schema["properties"].items():
                self.assertIn("description", sub, f"{path}: {key}")

    def test_examples(self):
        designs = glob.glob(example("designs", "*.json")) + glob.glob(example("expected", "*",
                                                                              "design.json"))
        self.assertGreaterEqual(len(designs), 5)
        for path in designs:
            self.assertValid("design", load(path), path)
        for path in glob.glob(example("*.json")):
            with self.subTest(path=path):
                # The program gives examples back unchanged (test_hostconfigure).
                self.assertValid("parameter-set", load(path), path)
                report = json.loads(run("resources", path))
                self.assertValid("resources", report, path)
                self.assertEqual(len(report["laneList"]), int(load(path)["Number_of_lanes"]))

    def test_configured_new_cores_and_designs(self):
        for device, design, extra in [(DEVICE, "quillan_q1", []), ("TQ2M1-BG256", "empty", []),
                                      ("TQ3H8-FF900", "jesd_rx_q0", ["--calculate"])]:
            with self.subTest(device=device):
                out = fresh_dir("new-" + device)
                path = os.path.join(out, "design.json")
                shutil.copy(example("designs", design + ".json"), path)
                params = os.path.join(out, "params.json")
                run("configure", "--batch", "--output", params, "--device", device, "--name",
                    "link0", "--design", path, *extra)
                self.assertValid("parameter-set", load(params), device)
                self.assertValid("design", load(path), path)

    def test_plans_verdicts_snapshots(self):
        worked = ["--fs", "1000", "--l", "4", "--m", "2", "--s", "1", "--np", "16"]
        emitted = os.path.join(fresh_dir("plans"), "plan.json")
        for args, code in [(worked + ["--device", DEVICE, "--mode", "rx", "--skew-budget", "2",
                                      "--design", example("designs", "jesd_rx_q0.json")], 0),
                           (worked + ["--k", "2"], 1),
                           (["--fs", "500", "--l", "8", "--m", "2", "--s", "1", "--np", "16"], 1)]:
            emit = ["--emit-set", emitted] if code == 0 else []
            plan = json.loads(run("plan", "--json", *args, *emit, code=code))
            self.assertValid("link-plan", plan, " ".join(args))
            self.assertEqual(plan["errors"] == [], code == 0)
        self.assertValid("parameter-set", load(emitted), emitted)

        designs = ["--design", example("designs", "jesd_rx_q0.json")]
        for args, code in [([example("tx_2lane.json")], 0),
                           ([example("rx_2lane.json"), *designs], 1)]:
            verdict = json.loads(run("check", "--json", *args, code=code))
            self.assertValid("check-verdict", verdict, " ".join(args))
            self.assertEqual(verdict["feasible"], code == 0)

        for name, edit in [("new", []), ("edit", ["--edit", example("both_8lane.json")])]:
            out = fresh_dir("snapshot-" + name)
            shot = snapshot(out, *edit)
            self.assertValid("dialog-snapshot", shot, out)
            for tab in shot["tabs"]:
                self.assertTrue(os.path.isfile(os.path.join(out, tab["image"])))

    def test_broken_parameter_sets(self):
        self.assertBroken("parameter-set", load(example("both_8lane.json")), [
            ("Line_Rate", 9.8304), ("FFE_CM", "2"), ("version", DROP), ("Number_of_lanes", DROP),
            ("Line_rate", "9.8304"), ("version", "1.1"), ("Line_Rate", "12.6"),
            ("Line_Rate", "9."), ("Reference_CLK_Frequency", "49.9"), ("Default_F", "257"),
            ("Default_K", "0"), ("Clock_Frequency", "100.5"), ("FFE_CM", 20), ("BOOST", 16),
            ("DIFFERENTIAL_SWING", "700mV"), ("PLL_Selection", "qpll0"),
            ("JESD204B_Lane0_connect_with", "q0 lane0"), ("recordlanes/0", "Q2 Lane0"),
            ("recordlanes/1", "Q0 Lane0"), ("Number_of_lanes", "7"), ("Receive", True),
            ("Both_Receive_and_Transmit", False), ("Pcs_Width_32bit", True),
            ("module", "0core"), ("file", "a/b")])
        self.assertBroken("parameter-set", load(example("rx_2lane.json")),
                          [("Include_RPAT_Generator", True)])
        self.assertBroken("parameter-set", load(example("tx_2lane.json")),
                          [("LMFC_Buffer", "512")])

    def test_broken_designs_fail_schema_and_program(self):
        cases = [("lane", []), ("lanes/0/ownr", "x"), ("lanes/0/status", "duplex"),
                 ("lanes/0/status", 4), ("lanes/0/lane", "q1_lane0"), ("plls/0/pll", "Q1_QPLL2"),
                 ("plls/0/vcoGHz", "fast"), ("plls/0/refClock", DROP),
                 ("refClocks/0/source", "Q1_REFCLK4"), ("refClocks/0/useCount", 0),
                 ("globalData/Q1_BIAS", 16), ("globalData/GLOBAL_RESET_ENABLE", "yes"),
                 ("globalData/other", [1]), ("instances/0/lanes", DROP),
                 ("lanes/2/txSource", "CPLL"), ("pllTable", {"QPLL1": {"scope": "lane"}}),
                 ("pllTable", {"QPLL2": {}})]
        good = load(example("designs", "quillan_q1.json"))
        self.assertBroken("design", good, cases)
        path = os.path.join(fresh_dir("broken-designs"), "design.json")
        for member, value in cases:
            with self.subTest(program=member, value=value):
                with open(path, "w", encoding="utf-8") as f:
                    json.dump(changed(good, member, value), f)
                run("check", example("rx_2lane.json"), "--design", path, "--device", DEVICE,
                    code=2)

    def test_broken_reports(self):
        self.assertBroken("resources", json.loads(run("resources", example("tx_2lane.json"))), [
            ("laneList", DROP), ("laneCount", 2), ("laneList/0", "Q2_LANE0_TX"),
            ("txRateList/0", 4.9152)])
        line_rate = "tabs/1/widgets/lineRate/"
        self.assertBroken("dialog-snapshot", snapshot(fresh_dir("broken-snapshot")), [
            ("tabs/0/image", DROP), (line_rate + "enabled", DROP),
            (line_rate + "geometry", [0, 0, 1, 1]), (line_rate + "value", "3"),
            ("tabs/1/widgets/qt_spinbox_lineedit",
             {"class": "QLineEdit", "enabled": True, "visible": True}),
            ("figurePins/0/side", 2), ("device", DROP)])
        self.assertBroken("link-plan", json.loads(run(
            "plan", "--json", "--fs", "1000", "--l", "4", "--m", "2", "--s", "1", "--np", "16",
            "--device", DEVICE)), [
            ("K", 40), ("ilas/0/octets/13", DROP), ("ilas/0/octets/0", 256),
            ("clocking/0/refClockMHz", 25), ("clocking/0/pll", "LCPLL"),
            ("clocking/0/dividers", DROP), ("laneRateGbps", "10"), ("errors", DROP)])
        self.assertBroken("check-verdict", json.loads(run(
            "check", "--json", example("rx_2lane.json"))), [
            ("module", DROP), ("feasible", "yes"), ("reasons", []), ("feasible", False),
            ("lanes/0/lane", "Q2_LANE0"), ("lanes/0/direction", "both"),
            ("lanes/0/dividers/M", "1"), ("lanes/0/refClockMHz", "122.88")])


if __name__ == "__main__":
    os.makedirs(WORK, exist_ok=True)
    unittest.main(argv=sys.argv[:1], verbosity=2)
