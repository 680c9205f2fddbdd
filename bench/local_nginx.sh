# Sourced by the benchmark scripts: a private nginx serving one folder on a
# free loopback port.
#   start_local_nginx WORK_FOLDER PROBE_PATH
# serves WORK_FOLDER/www, keeps its files in WORK_FOLDER, and returns once
# PROBE_PATH answers. Sets `port` and `nginx_pid`; the caller stops it.
# Sourcing it installs the benchmarks' packages (nginx without a running service).

"$(dirname "${BASH_SOURCE[0]}")/../tools/install-deps.sh" bench

start_local_nginx() {
  local work=$1 probe=$2
  port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1]); s.close()')
  cat > "$work/nginx.conf" <<CONF
daemon off;
master_process off;
worker_processes 1;
pid $work/nginx.pid;
error_log $work/error.log warn;
events { worker_connections 64; }
http {
  access_log off;
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
