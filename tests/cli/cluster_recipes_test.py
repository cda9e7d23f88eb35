#!/usr/bin/env python3
"""The Slurm and Kubernetes recipes run as written, through a small stand-in
for each scheduler: it reads the directives (or the manifest), sets the
variables the scheduler sets and runs the command lines the file holds, with
the shared volume at a folder of this machine. Their shards together must write
what one run writes, and every JSON line must parse.

    cluster_recipes_test.py TUVO_CLI EXAMPLES_DIR
"""
import json, os, pathlib, re, shutil, subprocess, sys, tempfile

import yaml

cli, examples = sys.argv[1], pathlib.Path(sys.argv[2])
if not shutil.which("convert"):
    print("SKIP: convert is not installed", file=sys.stderr)
    sys.exit(77)
work = pathlib.Path(tempfile.mkdtemp())
bin_dir = work / "bin"
bin_dir.mkdir()
(bin_dir / "tuvo-cli").write_text(f'#!/bin/sh\nexec "{cli}" "$@"\n')
(bin_dir / "tuvo-cli").chmod(0o755)
env = dict(os.environ, PATH=f"{bin_dir}:{os.environ['PATH']}")


def pictures(volume):
    photos = volume / "photos"
    (photos / "sub").mkdir(parents=True)
    for i in range(11):
        folder = photos / ("sub" if i % 2 else "")
        subprocess.run(["convert", "-seed", str(i), "-size", f"{60 + i * 9}x{40 + i * 5}", "plasma:fractal",
                        str(folder / f"p{i}.png")], check=True)
    names = sorted(str(p) for p in photos.rglob("*.png"))
    (volume / "list.txt").write_text("".join(n + "\n" for n in names))
    return volume / "list.txt"


def files(folder):
    return {str(p.relative_to(folder)): p.read_bytes() for p in sorted(folder.rglob("*")) if p.is_file()}


def reference(list_file):
    out = work / "reference"
    out.mkdir(exist_ok=True)
    subprocess.run([cli, "--quiet", "--files-from", str(list_file), "-o", str(out), "--size", "1600x1200"],
                   check=True, env=env)
    return files(out)


def json_lines(path):
    lines = pathlib.Path(path).read_text().splitlines()
    return [json.loads(line) for line in lines]


def sbatch(script, variables, array=None):
    """Runs every array task of script as Slurm would, one after another."""
    text = script.read_text()
    directives = dict(re.findall(r"^#SBATCH --([\w-]+)=(\S+)", text, re.M))
    indices = array or directives["array"]
    ids = []
    for part in indices.split(","):
        low, _, high = part.partition("-")
        ids += range(int(low), int(high or low) + 1)
    job = "4242"
    for task in ids:
        task_env = dict(env, **variables, SLURM_JOB_ID=job, SLURM_ARRAY_JOB_ID=job,
                        SLURM_ARRAY_TASK_ID=str(task), SLURM_ARRAY_TASK_COUNT=str(len(ids)),
                        SLURM_ARRAY_TASK_MIN=str(min(ids)), SLURM_ARRAY_TASK_MAX=str(max(ids)),
                        SLURM_CPUS_PER_TASK=directives.get("cpus-per-task", "1"))
        name = lambda pattern: work / pattern.replace("%A", job).replace("%a", str(task))
        with open(name(directives["output"]), "w") as out:
            # Without --error Slurm sends standard error to the output file too.
            err = open(name(directives["error"]), "w") if "error" in directives else subprocess.STDOUT
            code = subprocess.run(["bash", str(script)], stdout=out, stderr=err, env=task_env, cwd=work).returncode
        assert code == 0, f"task {task} exited {code}"
        for obj in json_lines(name(directives["output"])):
            assert "summary" in obj or obj["error"] is None, obj
    return ids


def kubernetes(manifest, volume):
    """Runs every pod of the Indexed Job, its init containers first."""
    docs = list(yaml.safe_load_all(manifest.read_text()))
    claim = next(d for d in docs if d["kind"] == "PersistentVolumeClaim")
    job = next(d for d in docs if d["kind"] == "Job")
    # Pods on several nodes at once share the volume.
    assert "ReadWriteMany" in claim["spec"]["accessModes"]
    indexed = job["spec"]
    assert indexed["completionMode"] == "Indexed"
    pod = indexed["template"]["spec"]
    assert pod["volumes"][0]["persistentVolumeClaim"]["claimName"] == claim["metadata"]["name"]
    for index in range(indexed["completions"]):
        for container in pod.get("initContainers", []) + pod["containers"]:
            mount = container["volumeMounts"][0]["mountPath"]
            command = [part.replace(mount, str(volume)) for part in container["command"] + container["args"]]
            result = subprocess.run(command, env=dict(env, JOB_COMPLETION_INDEX=str(index)),
                                    stdout=subprocess.PIPE, cwd=work)
            assert result.returncode == 0, f"pod {index}, {container['name']}: exit {result.returncode}"
            for line in result.stdout.decode().splitlines():
                json.loads(line)


try:
    shared = work / "shared"
    shared.mkdir()
    list_file = pictures(shared)
    expected = reference(list_file)

    out = shared / "out"
    sbatch(examples / "slurm-array.sbatch", {"LIST": str(list_file), "OUT": str(out)})
    assert files(out) == expected, "Slurm shards differ from one run"
    # Shards run again in parts, as failed ones are: the shard count does not
    # come from the array's size.
    shutil.rmtree(out)
    for part in ("2,5", "1,3-4,6-8"):
        sbatch(examples / "slurm-array.sbatch", {"LIST": str(list_file), "OUT": str(out)}, array=part)
    assert files(out) == expected, "Slurm shards run in parts differ"
    print("slurm: OK")

    # A fresh volume: the list and the pictures, no output folder yet. The list
    # names the pictures where the pods see them.
    volume = work / "volume"
    shutil.copytree(shared / "photos", volume / "photos")
    (volume / "list.txt").write_text(list_file.read_text().replace(str(shared), str(volume)))
    kubernetes(examples / "k8s-indexed-job.yaml", volume)
    assert files(volume / "out") == expected, "Kubernetes shards differ from one run"
    print("kubernetes: OK")
finally:
    shutil.rmtree(work)
