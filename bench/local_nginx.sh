# Sourced by the benchmark scripts: a work folder and a private nginx serving
# part of it on a free loopback port.
#   make_work_folder NAME
# makes `work` (/tmp/tollivex-NAME.*, with www/, out/, config/ and a private
# runtime/) and, when the script ends, stops its nginx and removes it.
#   make_big_file NAME
# writes 1 GiB of random bytes to $work/www/NAME.
#   start_local_nginx WORK_FOLDER PROBE_PATH [ACCESS_LOG_FORMAT]
# serves WORK_FOLDER/www, keeps its files in WORK_FOLDER, and returns once
# PROBE_PATH answers; with a log format, logs each request to
# WORK_FOLDER/access.log. Sets `port` and `nginx_pid`.
# Sourcing it installs the benchmarks' packages (nginx without a running service).

"$(dirname "${BASH_SOURCE[0]}")/../tools/install-deps.sh" bench

make_work_folder() {
  work=$(mktemp -d "/tmp/tollivex-$1.XXXXXX")
  nginx_pid=""
  trap remove_work_folder EXIT
  mkdir -p "$work/www" "$work/out" "$work/config"
  mkdir -m 700 "$work/runtime"
}

remove_work_folder() {
  if [ -n "$nginx_pid" ]; then kill "$nginx_pid" 2> /dev/null || true; wait "$nginx_pid" 2> /dev/null || true; fi
  rm -rf "$work"
}

make_big_file() {
  echo "making the 1 GiB file..." >&2
  head -c $((1024 * 1024 * 1024)) /dev/urandom > "$work/www/$1"
}

start_local_nginx() {
  local work=$1 probe=$2 access_log="access_log off;"
  [ -n "${3:-}" ] && access_log="log_format logged '$3'; access_log $work/access.log logged;"
  port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1]); s.close()')
  cat > "$work/nginx.conf" <<CONF
daemon off;
master_process off;
worker_processes 1;
pid $work/nginx.pid;
error_log $work/error.log warn;
events { worker_connections 64; }
http {
  $access_log
  sendfile on;
  default_type application/octet-stream;
  client_body_temp_path $work/tmp-body;
  proxy_temp_path $work/tmp-proxy;
  fastcgi_temp_path $work/tmp-fastcgi;
  uwsgi_temp_path $work/tmp-uwsgi;
  scgi_temp_path $work/tmp-scgi;
  server {
    listen 127.0.0.1:$port;
    root $work/www;
  }
}
CONF
  nginx -p "$work" -c "$work/nginx.conf" -e "$work/error.log" &
  nginx_pid=$!
  for _ in $(seq 50); do
    curl -s -o /dev/null -I "http://127.0.0.1:$port/$probe" && return 0
    sleep 0.1
  done
  echo "nginx did not answer on port $port" >&2
  return 1
}
